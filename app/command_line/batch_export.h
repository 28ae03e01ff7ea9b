// Converting files from the command line without a window: each input opened by the
// document controller as File > Open opens it, written by the writer File > Export (or
// Export Text) uses, then closed.
#pragma once

#include "app/command_line/command_line_options.h"

#include <optional>
#include <vector>

class QTextStream;
class VekDocController;

// Runs every job, telling of each failure on `errors`; 0 when all were written, else 1.
int runBatchExport(VekDocController &documents, const CommandLineOptions &options, QTextStream &errors);

// The pages a list names ("1,3,5-7", in order, repeats kept); absent when a part is not a
// page of the document.
std::optional<std::vector<int>> pagesFromRangeList(const QString &list, int pageCount);
