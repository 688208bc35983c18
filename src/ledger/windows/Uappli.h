#pragma once

#include "DetailDialog.h"

class QComboBox;
class QLineEdit;
class TDMdata;

// "アプリケーション情報": one installed application of a PC, with its
// registration time and the makers found in the store.
class TFappli : public DetailDialog
{
    Q_OBJECT

public:
    TFappli(TDMdata &dm, const ProgramPaths &paths, QWidget *parent = nullptr);

protected:
    void stateChanged(RowBuffer::State state) override;
    void formShow() override;

private:
    // TappliNyuryokuKBNValidate: only "Invaro" and "手入力".
    QString nyuryokuKbnChanged(const QVariant &value);

    TDMdata &m_dm;
    QComboBox *m_makerCombo;
    QLineEdit *m_appliEDT;
};
