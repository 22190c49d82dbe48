#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

// The password window: one masked field, OK and Cancel.
class frmPsw : public QDialog {
    Q_OBJECT
public:
    explicit frmPsw(QWidget *parent = nullptr);

    QString password() const;
    // Shows it modally: the typed text, or nullopt when cancelled.
    static std::optional<QString> ask(QWidget *parent = nullptr);

private:
    QLineEdit *txtPassword;
};
