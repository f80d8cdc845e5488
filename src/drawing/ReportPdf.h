#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace tarmela
{

class ReportDocument;

// Writes every page of the report to a PDF file, A4 portrait, titled `title`. The file is
// written to a temporary file and replaces `path` only when complete. progress, when given,
// hears the number of pages done after each page. Throws Error(Io) when the file cannot be
// written.
void writeReportPdf(const ReportDocument& report, const QString& title, const QString& path,
                    const std::function<void(std::int64_t)>& progress = {});

} // namespace tarmela
