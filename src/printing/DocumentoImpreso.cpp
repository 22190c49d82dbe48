#include "DocumentoImpreso.h"

QString DocumentoImpreso::textoPlano() const
{
    QString out;
    for (const RenglonImpreso &r : renglones) {
        switch (r.tipo) {
        case RenglonImpreso::Tipo::Texto:
            out += r.texto;
            break;
        case RenglonImpreso::Tipo::Imagen:
            out += QStringLiteral("<IMAGEN>");
            break;
        case RenglonImpreso::Tipo::CodigoBarras:
            out += QStringLiteral("<CODIGO DE BARRAS ") + r.texto + u'>';
            break;
        }
        out += u'\n';
    }
    return out;
}
