#include "DemoDataCodigo.h"

#include "Connection.h"

namespace db {

namespace {

// Shared procedures: every other script finds them already defined.
constexpr const char *kLibreria = R"VBS(' Procedimientos compartidos por todos los scripts.

' 1234.5 -> "$1,234.50"
Function fmtMoneda(valor)
    If IsNull(valor) Or IsEmpty(valor) Then valor = 0
    fmtMoneda = "$" & FormatNumber(valor, 2, -1, 0, -1)
End Function

' Fecha como la escriben los tickets: dd/mm/yyyy
Function fmtFecha(fecha)
    fmtFecha = Right("0" & Day(fecha), 2) & "/" & Right("0" & Month(fecha), 2) & "/" & Year(fecha)
End Function

' Texto ajustado a un ancho fijo, para columnas de ticket
Function ajustaTexto(texto, ancho)
    texto = CStr(texto)
    If Len(texto) > ancho Then
        ajustaTexto = Left(texto, ancho)
    Else
        ajustaTexto = texto & Space(ancho - Len(texto))
    End If
End Function

' Saludo según la hora del servidor
Function saludo()
    Dim h
    h = Hour(xApp.getDate())
    If h < 12 Then
        saludo = "Buenos días"
    ElseIf h < 19 Then
        saludo = "Buenas tardes"
    Else
        saludo = "Buenas noches"
    End If
End Function

' Mensaje en la barra de estado de la ventana principal
Sub mensaje(texto)
    xApp.msgBar texto
End Sub
)VBS";

constexpr const char *kInicio = R"VBS(' Al iniciar: saludo en la barra de estado con el usuario, el almacén y la fecha del servidor.
mensaje saludo() & ", " & xConfig.getValue("USUARIO") & ". Almacén " & xConfig.getValue("ALMACEN") & _
    " - " & fmtFecha(xApp.getDate())
)VBS";

void script(Connection &c, const QString &clave, const QString &nombre, const char *text)
{
    if (c.scalar(QStringLiteral("select count(*) from tCodigo where codigo_Clave = ?"), {clave}).toInt() > 0)
        return;
    c.execute(QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, codigo_Activo) "
                             "values (?, ?, ?, 'S')"),
              {clave, nombre, QString::fromUtf8(text)});
}

} // namespace

void populateDemoCodigo(Connection &c)
{
    script(c, QStringLiteral("LIBRERIA"), QStringLiteral("Procedimientos compartidos"), kLibreria);
    script(c, QStringLiteral("OnStartUpProgram"), QStringLiteral("Saludo al iniciar el programa"), kInicio);
}

} // namespace db
