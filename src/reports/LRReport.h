#pragma once

class LRDataSet;
class TLightRep;

// A page-layout report: its page (with panels whose events fill each page
// from the data) and its master data set, which decides when the report
// ends. The report frame previews and prints one; the command-line tool
// prints one to PDF.
class LRReport
{
public:
    virtual ~LRReport() = default;

    virtual TLightRep &page() = 0;
    // The master data set (the frame's dsMast.DataSet); null when the
    // report names none.
    virtual LRDataSet *master() = 0;
};
