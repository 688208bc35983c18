#pragma once

#include "store/StoreSettings.h"

#include <QDialog>

class QLabel;
class QLineEdit;

// Asks for the user name and password of a store server when the settings
// name no user. It names the server and the database it logs in to, so a
// prompt is never taken for one of another store.
class LoginDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LoginDialog(QWidget *parent = nullptr);

    // The server and database of the store being connected.
    void setStore(const StoreSettings &store);
    QString storeText() const;
    void setUser(const QString &user);
    QString user() const;
    QString password() const;

    // Shows the dialog modally for the store; on OK fills user and password
    // and returns true.
    static bool ask(QWidget *parent, const StoreSettings &store, QString &user, QString &password);

private:
    QLabel *m_store;
    QLineEdit *m_user;
    QLineEdit *m_password;
};
