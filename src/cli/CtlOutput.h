#pragma once

#include "export/CsvExport.h"

#include <QString>
#include <QVariant>

struct CtlContext;

namespace CtlOutput {

// A value as one cell of the tab-separated output: dates as ISO text, tabs
// and line breaks as spaces, so a row stays one line.
QString cell(const QVariant &value);

// Reports a table written to a file (export, dump); the exit status.
int written(const CtlContext &context, const CsvExport::Result &result, const QString &file);

} // namespace CtlOutput
