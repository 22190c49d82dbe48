#pragma once

#include "Enfoque.h"

#include <QHash>
#include <QString>
#include <QTabWidget>

#include <functional>

class Prompter;
class QDialog;
class QGridLayout;
class QLineEdit;
class QComboBox;
class QPushButton;

// What the client and supplier windows share: the frame (title by mode, tabs over Guardar and
// Cancelar), loading the record by mode, the read-only look, and saving with a refusal's tab and
// field shown. Modes: add 'A', change 'C', consult 'Q'.
namespace marco {

// "Cliente - Alta", "Cliente - Cambio", "Cliente - Consulta".
QString titulo(const QString &sujeto, QChar modo);

// nuevo() in add mode, otherwise carga(); false when the record could not be read (a database
// error is reported as of consultarRegistro).
bool carga(Prompter &prompter, QChar modo, const std::function<void()> &nuevo, const std::function<bool()> &carga);

// Lays the tabs over the Guardar ("cmdGuardar", the default) and Cancelar ("cmdCancelar"; Cerrar
// when consulting) buttons; returns Guardar.
QPushButton *arma(QDialog *ventana, QTabWidget *tabs, QChar modo, const std::function<void()> &guardar);

// A field the user reads but cannot change, greyed like a disabled one yet still selectable.
void soloLecturaVisible(QLineEdit *t);
// Every field read-only (texts) or disabled (the rest), and Guardar hidden.
void soloLectura(const QHash<QString, QWidget *> &campos, QPushButton *guardar);

// Shows valor in a list, keeping a stored key the list does not offer visible rather than
// replacing it.
void selecciona(QComboBox *cmb, const QString &valor);

// Two columns of label and field, so a tab of many fields fits the screen.
struct Rejilla {
    explicit Rejilla(QWidget *w);
    void agrega(const QString &titulo, QWidget *campo, int ancho = 1);
    void termina();
    QGridLayout *layout;
    int fila = 0;
    int columna = 0;
};

// Saves through the editor; on a refusal shows its tab and focuses its field. False when not
// saved (a database error has no field: it was already reported).
template <class Editor>
bool guarda(Editor &editor, QTabWidget *tabs, const QHash<QString, QWidget *> &campos)
{
    if (editor.guardaDatos())
        return true;
    const QString campo = editor.campoRechazado();
    if (!campo.isEmpty()) {
        tabs->setCurrentIndex(int(editor.pestanaRechazada()));
        enfocaCampo(campos.value(campo));
    }
    return false;
}

// The opener of a master's lookups: 'B' deletes after asking, 'A', 'C' and 'Q' run the window
// (built from the editor, the prompter, the mode, the key and the rest). True when records may
// have changed.
template <class Ventana, class Editor, class... Resto>
bool abre(Editor &editor, Prompter &prompter, QChar comando, const QString &clave, Resto &&...resto)
{
    if (comando == u'B')
        return editor.eliminarRegistro(clave);
    Ventana w(editor, prompter, comando, comando == u'A' ? QString() : clave, std::forward<Resto>(resto)...);
    if (!w.valido())
        return false;
    w.exec();
    return w.guardado();
}

} // namespace marco
