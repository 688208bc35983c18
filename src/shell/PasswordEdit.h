#pragma once

#include <QLineEdit>

// A password box that shows "*" for each character, whatever the style's
// own echo character is.
class PasswordEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit PasswordEdit(QWidget *parent = nullptr);
};
