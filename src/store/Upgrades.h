#pragma once

#include "Schema.h"

class TDMdata;

// Widening of tables written by older versions. Each reads the table's
// columns once and adds every group whose marker column is missing.
// Throws StoreError. The PC upgrade returns how many PCs the IP16 back-fill
// would fill.
int UpgradePcTable(TDMdata &dm);
void UpgradePrinterTable(TDMdata &dm);
void UpgradeAppliTable(TDMdata &dm);
void UpgradeDriveTable(TDMdata &dm);

// Whether the upgrade of this table would add anything (it reads the
// column names only). Throws StoreError.
bool UpgradeNeeded(TDMdata &dm, TableId id);

// PCs with an address but no IP16 (the back-fill search).
int CountPcsWithoutIp16(TDMdata &dm);
