#include "EscPos.h"

namespace {
constexpr char ESC = 0x1B;
constexpr char GS = 0x1D;
constexpr char LF = 0x0A;
// GS k carries one length byte; "{B" takes two of them.
constexpr int kMaxCodigo = 200;
} // namespace

QByteArray EscPos::codigo128(const QString &dato)
{
    QByteArray datos("{B");
    int caracteres = 0;
    for (const QChar c : dato) {
        if (caracteres == kMaxCodigo)
            break;
        const char16_t u = c.unicode();
        const char b = (u >= 0x20 && u < 0x7F) ? char(u) : '?';
        datos += b;
        if (b == '{') // a literal brace is written twice in code set B
            datos += '{';
        ++caracteres;
    }
    QByteArray out;
    out += ESC;
    out += 'a';
    out += char(1); // centred
    out += GS;
    out += 'h';
    out += char(80); // height in dots
    out += GS;
    out += 'w';
    out += char(2); // module width
    out += GS;
    out += 'H';
    out += char(2); // digits below
    out += GS;
    out += 'k';
    out += char(73);
    out += char(datos.size());
    out += datos;
    out += ESC;
    out += 'a';
    out += char(0);
    return out;
}

QByteArray EscPos::documento(const DocumentoImpreso &documento, const PaginaCodigos &pagina)
{
    QByteArray out;
    out += ESC;
    out += '@';
    out += ESC;
    out += 't';
    out += char(pagina.numeroEscPos());
    for (const RenglonImpreso &r : documento.renglones) {
        switch (r.tipo) {
        case RenglonImpreso::Tipo::Texto:
            out += pagina.codifica(r.texto);
            out += LF;
            break;
        case RenglonImpreso::Tipo::Imagen:
            out += "<IMAGEN>";
            out += LF;
            break;
        case RenglonImpreso::Tipo::CodigoBarras:
            out += codigo128(r.texto);
            break;
        }
    }
    return out;
}
