#pragma once

#include "cli/report_command.h"

#include <memory>

namespace hrln::cli {

// Draws reports as PDF without a display; the drawing machinery starts on the
// first report asked for and stops when this goes.
class PdfOutput {
public:
    PdfOutput(int& argc, char** argv);
    ~PdfOutput();
    PdfOutput(const PdfOutput&) = delete;
    PdfOutput& operator=(const PdfOutput&) = delete;

    const PdfRenderer& renderer() const { return renderer_; }

private:
    struct Machinery;
    std::unique_ptr<Machinery> machinery_;
    PdfRenderer renderer_;
};

}  // namespace hrln::cli
