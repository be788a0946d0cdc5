#include "climbsbatch.h"

#include "flight/climbs.h"
#include "flight/climbscsv.h"
#include "flight/igcfile.h"
#include "io/filestore.h"

#include <cstdio>

int RunClimbs(const QString& logPath) {
    // The message, then the log's path and what more there is to say.
    const auto report = [&](const std::string& text, const std::string& more) {
        std::fprintf(stderr, "File Error: %s\n",
                     WithDetail(text, ShownPath(logPath) + '\n' + more).c_str());
    };
    const auto read = ReadTextFile(logPath);
    const auto* bytes = std::get_if<QByteArray>(&read);
    if (!bytes) {
        report("The flight log cannot be read.", std::get<ReadFailure>(read).reason.toStdString());
        return 1;
    }
    const IgcFlight flight = ReadIgcFile(ByteView(*bytes));
    if (const std::string problems = IgcReadReport(flight); !problems.empty())
        report("The flight log is not read whole.", problems);
    if (flight.fixes.empty())
        return 1;
    std::fputs(ClimbsCsv(FindClimbs(flight)).c_str(), stdout);
    return 0;
}
