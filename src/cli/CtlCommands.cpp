#include "CtlCommands.h"

std::vector<std::unique_ptr<CtlCommand>> ctlCommands()
{
    std::vector<std::unique_ptr<CtlCommand>> commands;
    commands.push_back(makeCtlImport());
    commands.push_back(makeCtlCheck());
    commands.push_back(makeCtlSql());
    commands.push_back(makeCtlExport());
    commands.push_back(makeCtlSheet());
    commands.push_back(makeCtlReport());
    commands.push_back(makeCtlLeases());
    commands.push_back(makeCtlDump());
    commands.push_back(makeCtlRestore());
    commands.push_back(makeCtlHistory());
    commands.push_back(makeCtlDuplicates());
    commands.push_back(makeCtlMerge());
    commands.push_back(makeCtlFind());
    return commands;
}
