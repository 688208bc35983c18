#pragma once

class TDMdata;
class TableCheckObserver;

// Widening of tables written by older versions. Each reads the table's
// columns once and adds every group whose marker column is missing.
// Throws StoreError; groups added before a failure stay added.
void UpgradePcTable(TDMdata &dm, TableCheckObserver &observer);
void UpgradePrinterTable(TDMdata &dm);
void UpgradeAppliTable(TDMdata &dm);
void UpgradeDriveTable(TDMdata &dm);

// PCs with an address but no IP16 (the back-fill search).
int CountPcsWithoutIp16(TDMdata &dm);
