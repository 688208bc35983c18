#pragma once

#include "DetailDialog.h"
#include "ledger/DriveSpace.h"

class DrivePie;

// "ドライブ情報": one drive row of a PC, with the space rules (used and free
// space add up to the total) and the pie of used and free space.
class TFdrive : public DetailDialog
{
    Q_OBJECT

public:
    explicit TFdrive(const ProgramPaths &paths, QWidget *parent = nullptr);

protected:
    void stateChanged(RowBuffer::State state) override;
    void formShow() override;

private:
    DriveSpace space() const;
    // The rule of a new total, used or free space (TdriveCapaValidate, ...).
    QString spaceChanged(DriveSpace::Column column, const QVariant &value);
    void drawPie();

    DrivePie *m_pie;
};
