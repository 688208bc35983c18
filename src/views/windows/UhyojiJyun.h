#pragma once

#include "base/AppSettings.h"
#include "kit/Unit1.h"

#include <QList>
#include <QSize>
#include <QStringList>
#include <functional>

class QCheckBox;
class QComboBox;
class QListWidget;
class QRadioButton;

// What the display settings dialog shows and returns.
struct HyojiJyunValues
{
    struct Column
    {
        QString field; // the column's field name
        bool shown = true;
    };
    QList<Column> columns; // in the grid's current order on screen
    SortSettings sort;
    QString fontSize; // the font size as typed (digits once confirmed)
    bool hideRemoved = false;
};

// "パソコン一覧表示設定": which columns the PC grid shows, three sort keys
// with their directions, the grid's font size and whether removed PCs are
// left out. The dialog edits a copy; the caller takes values() after OK.
class TFhyojiJyun : public TForm1
{
    Q_OBJECT

public:
    TFhyojiJyun(const HyojiJyunValues &current, const ProgramPaths &paths,
                QWidget *parent = nullptr);

    // The confirmed values: visibility per list entry, the key boxes' texts,
    // "降順" where the second choice is selected and "昇順" otherwise.
    HyojiJyunValues values() const;

protected:
    // What sets the display settings of one grid apart from another's.
    struct Design
    {
        QString internalName;
        QString caption;
        QSize size;
        // The title of a column by its field name; the key boxes offer the
        // titles of all columns.
        std::function<QString(const QString &field)> titleOf;
        QStringList keyChoices;
        bool removedOption = false; // "撤去済パソコンは表示しない"
    };
    TFhyojiJyun(const Design &design, const HyojiJyunValues &current, const ProgramPaths &paths,
                QWidget *parent);

private:
    void OkBTNClick();

    HyojiJyunValues m_current;
    QListWidget *m_columnsLB;
    QComboBox *m_keyCombo[3];
    QRadioButton *m_ascRB[3];
    QRadioButton *m_descRB[3];
    QComboBox *m_fontSizeCombo;
    QCheckBox *m_tekkyoCB = nullptr;
};
