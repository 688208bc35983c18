#pragma once

#include "store/PcClaims.h"
#include "store/RecordCursor.h"
#include "store/Schema.h"

#include <QVariantList>

class RowBuffer;
class TDMdata;

// One detail row edited outside the PC ledger window: its post is final.
// The row's PC is claimed while the row is edited, and post() writes the
// changed columns in one short transaction.
class DirectRowEdit
{
public:
    DirectRowEdit(TDMdata &dm, TableId table);

    // Claims the PC (the first key value; ClaimError) and puts the row of
    // this full key into the buffer in edit state. False (nothing claimed)
    // when there is no such row. Throws StoreError.
    bool begin(const QVariantList &key, RowBuffer &row);
    // Writes the row's changes; the claim stays until end(). Throws
    // StoreError with the field texts (a missing name, a taken name).
    void post(RowBuffer &row);
    void end();

private:
    TDMdata &m_dm;
    // Outlives the transaction of post() (see DetailWorkCopy).
    RecordCursor m_cursor;
    PcClaim m_claim;
};
