#pragma once

#include <QDialog>

// "バージョン情報": the product name and the program version.
class VersionDialog : public QDialog
{
    Q_OBJECT

public:
    explicit VersionDialog(QWidget *parent = nullptr);

    // "Version 1.34": the project version.
    static QString versionText();
};
