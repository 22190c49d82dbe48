#pragma once

#include "EditorMaestro.h"

#include <QDialog>
#include <QHash>
#include <QString>

class Prompter;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;

// What the client and supplier windows share: the frame (title by mode, tabs over Guardar and
// Cancelar), loading the record by mode, the text fields and lists bound to the editor by column
// (every widget named after its column, so a refusal focuses it directly), the read-only look,
// and saving with a refusal's tab and field shown. Modes: add 'A', change 'C', consult 'Q'.
class frmMaestro : public QDialog {
    Q_OBJECT
public:
    ~frmMaestro() override;

    bool valido() const { return m_valido; }
    bool guardado() const { return m_guardado; }
    QTabWidget *pestanas() const { return m_tabs; }

public Q_SLOTS:
    void cmdGuardar_Click();

protected:
    // The title ("Cliente - Alta", "Cliente - Cambio", "Cliente - Consulta") and the record:
    // nuevo() in add mode, otherwise carga(); not valido when it could not be read.
    frmMaestro(EditorMaestro &editor, Prompter &prompter, QChar modo, const QString &sujeto,
               const QString &clave, QWidget *parent);

    // Once the tabs (in the editor's Pestana order) are built: the buttons, the record shown,
    // the read-only look by mode (the key alone when changing) and the first field focused.
    void arma(const QString &campoClave, const QString &campoNombre);
    virtual void muestra() = 0;
    // Every field read-only (texts) or disabled (the rest), and Guardar hidden.
    virtual void soloLectura();

    QLineEdit *texto(const QString &columna, int longitud = 0);
    // The list of a catalogue column read again; while the user edits, a key the new list lacks
    // (the state of another country) is dropped.
    void llenaCombo(const QString &columna);

    // The opener of a master's lookups: 'B' deletes after asking, 'A', 'C' and 'Q' run the
    // window (built from the editor, the prompter, the mode, the key and the rest). True when
    // records may have changed.
    template <class Ventana, class Editor, class... Resto>
    static bool abre(Editor &editor, Prompter &prompter, QChar comando, const QString &clave,
                     Resto &&...resto)
    {
        if (comando == u'B')
            return editor.eliminarRegistro(clave);
        Ventana w(editor, prompter, comando, comando == u'A' ? QString() : clave,
                  std::forward<Resto>(resto)...);
        if (!w.valido())
            return false;
        w.exec();
        return w.guardado();
    }

    Prompter &m_prompter;
    QChar m_modo;
    QTabWidget *m_tabs = nullptr;
    QHash<QString, QWidget *> m_campos; // column → widget
    QPushButton *m_cmdGuardar = nullptr;
    bool m_mostrando = false;

private:
    EditorMaestro &m_maestro;
    QString m_campoClave;
    bool m_valido = true;
    bool m_guardado = false;
};

namespace marco {

// A field the user reads but cannot change, greyed like a disabled one yet still selectable.
void soloLecturaVisible(QLineEdit *t);

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

} // namespace marco
