// What a window that brings a text or a birth back (the archive window's
// Read, Import and re-chart) needs of the window that shows the report: the frame hands the
// input window to it as this, so that no window touches another's controls.
#pragma once

#include <filesystem>

#include "archive/record.h"

namespace tl {

class ReportTarget {
public:
    virtual ~ReportTarget() = default;
    // Loads the saved report of archive record `record` (GB18030 text)
    // into the report box as plain text; saving it again files it under
    // that record's person. False, with the box unchanged, when the file
    // cannot be loaded. Paths are bytes, as the file system has them.
    virtual bool LoadReportFile(const std::filesystem::path& file, const ChartRecord& record) = 0;
    // The same for any text file brought in, which may also be UTF-8; it
    // belongs to no record and cannot be saved into the archive.
    virtual bool ImportReportFile(const std::filesystem::path& file) = 0;
    // Puts the birth of a saved record back into the input fields and
    // charts it again with the settings of today.
    virtual void Rechart(const ChartRecord& record) = 0;
    // Empties the extra-information text.
    virtual void ClearExtraText() = 0;
};

}  // namespace tl
