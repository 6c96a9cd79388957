// What a window that brings a text back (the archive window's Read and
// Import) needs of the window that shows the report: the frame hands the
// input window to it as this, so that no window touches another's controls.
#pragma once

#include <filesystem>

namespace tl {

class ReportTarget {
public:
    virtual ~ReportTarget() = default;
    // Loads a GBK text file into the report box as plain text; false, with
    // the box unchanged, when the file cannot be loaded. The path is bytes,
    // as the file system has it.
    virtual bool LoadReportFile(const std::filesystem::path& file) = 0;
    // Empties the extra-information text.
    virtual void ClearExtraText() = 0;
};

}  // namespace tl
