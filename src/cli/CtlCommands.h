#pragma once

#include "CtlCommand.h"

#include <memory>
#include <vector>

// Every command of orvanectl, in the order the usage lists them.
std::vector<std::unique_ptr<CtlCommand>> ctlCommands();

// One factory per command, each in a file of its own.
std::unique_ptr<CtlCommand> makeCtlImport();
std::unique_ptr<CtlCommand> makeCtlCheck();
std::unique_ptr<CtlCommand> makeCtlSql();
std::unique_ptr<CtlCommand> makeCtlExport();
std::unique_ptr<CtlCommand> makeCtlSheet();
std::unique_ptr<CtlCommand> makeCtlReport();
std::unique_ptr<CtlCommand> makeCtlLeases();
std::unique_ptr<CtlCommand> makeCtlDump();
std::unique_ptr<CtlCommand> makeCtlRestore();
std::unique_ptr<CtlCommand> makeCtlHistory();
std::unique_ptr<CtlCommand> makeCtlDuplicates();
std::unique_ptr<CtlCommand> makeCtlMerge();
std::unique_ptr<CtlCommand> makeCtlFind();
