#pragma once

#include "kit/Unit1.h"

class QPlainTextEdit;
class QPushButton;

// "お読みください": shows readme.txt from the program's folder, read-only,
// and prints it.
class TFreadMe : public TForm1
{
    Q_OBJECT

public:
    explicit TFreadMe(const ProgramPaths &paths, QWidget *parent = nullptr);

    QString text() const;

private:
    // Reads the file (CP932); a file that cannot be read is reported and
    // leaves the window empty.
    void loadFile();
    void PrintBTNClick();

    QPlainTextEdit *m_memo;
    QPushButton *m_printButton;
    QPushButton *m_closeButton;
};
