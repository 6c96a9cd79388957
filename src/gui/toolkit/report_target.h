// What a window that brings a text back (the archive window's Read and
// Import) needs of the window that shows the report: the frame hands the
// input window to it as this, so that no window touches another's controls.
#pragma once

#include <filesystem>

namespace tl {

class ReportTarget {
public:
    virtual ~ReportTarget() = default;
    // Loads a saved report (GB18030 text) into the report box as plain
    // text; false, with the box unchanged, when the file cannot be loaded.
    // Paths are bytes, as the file system has them.
    virtual bool LoadReportFile(const std::filesystem::path& file) = 0;
    // The same for any text file brought in, which may also be UTF-8.
    virtual bool ImportReportFile(const std::filesystem::path& file) = 0;
    // Empties the extra-information text.
    virtual void ClearExtraText() = 0;
};

}  // namespace tl
