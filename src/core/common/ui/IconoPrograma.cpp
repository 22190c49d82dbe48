#include "IconoPrograma.h"

static void registraIconos()
{
    // The resources live in a static library: register them before the first use.
    Q_INIT_RESOURCE(iconos);
}

QIcon iconoPrograma()
{
    registraIconos();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/iconos/mostrador-%1.png").arg(size), QSize(size, size));
    return icon;
}
