#pragma once

#include <QDialog>

class QLineEdit;

// Asks for the user name and password of a store server when the settings
// name no user.
class LoginDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LoginDialog(QWidget *parent = nullptr);

    void setUser(const QString &user);
    QString user() const;
    QString password() const;

    // Shows the dialog modally; on OK fills user and password and returns
    // true.
    static bool ask(QWidget *parent, QString &user, QString &password);

private:
    QLineEdit *m_user;
    QLineEdit *m_password;
};
