#pragma once

#include "FieldBinder.h"
#include "kit/Unit1.h"
#include "ledger/RowBuffer.h"

#include <functional>

class QFormLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;

// What the four detail dialogs (drive, printer, application, share) share:
// the row they edit, the mode label that follows its state, the read-only
// "Key:", and OK and Cancel. The caller appends a row to row() (or puts an
// existing one into it), gives the poster that writes it, and shows the
// dialog; OK stamps the row (when the dialog does) and posts it, Cancel or
// any other close discards its changes.
class DetailDialog : public TForm1
{
    Q_OBJECT

public:
    // Writes the row (into the ledger's work, or into the store); throws
    // StoreError with the message to show, the dialog then stays open.
    using Poster = std::function<void(RowBuffer &row)>;

    RowBuffer &row() { return m_row; }
    void setPoster(Poster poster) { m_poster = std::move(poster); }
    FieldBinder &binder() { return m_binder; }

protected:
    // stampsUpdate: OK sets UpdateYMD to the current date and time.
    DetailDialog(const QString &internalName, const QString &caption, TableId table,
                 bool stampsUpdate, const ProgramPaths &paths, QWidget *parent);

    // The label and control rows, in reading order, and the place beside
    // them (the drive's pie).
    QFormLayout *form() const { return m_form; }
    QHBoxLayout *body() const { return m_body; }
    // "Key:" and the PC key, read-only.
    void addKeyRow();

    // Every state change of the row, after the mode label (DSxxxStateChange).
    virtual void stateChanged(RowBuffer::State) { }

    void formClose() override;

private:
    void OkBTNClick();
    void CanBTNClick();

    RowBuffer m_row;
    FieldBinder m_binder;
    bool m_stampsUpdate;
    Poster m_poster;
    QLabel *m_modeLBL;
    QFormLayout *m_form;
    QHBoxLayout *m_body;
};
