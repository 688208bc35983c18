#pragma once

#include "kit/Unit1.h"

class QLabel;
class QPushButton;
class TDMdata;

// "IPｱﾄﾞﾚｽ（16）セット": fills the IP16 of every PC that has an address but
// none yet, showing its progress, and waits for the user to close it.
class TFip16Upd : public TForm1
{
    Q_OBJECT

public:
    // total: the number of PCs found without IP16.
    TFip16Upd(TDMdata &dm, int total, const ProgramPaths &paths, QWidget *parent = nullptr);

    QString messageText() const;
    QString counterText() const;
    bool isRunning() const { return m_running; }
    bool hasRun() const { return m_hasRun; }

    void done(int result) override;

signals:
    void runFinished();

protected:
    void formShow() override;

private:
    void run();
    void showProgress(int count);

    TDMdata &m_dm;
    int m_total;
    bool m_running = false;
    bool m_hasRun = false;
    QLabel *m_message;
    QLabel *m_counter;
    QPushButton *m_closeBTN;
};
