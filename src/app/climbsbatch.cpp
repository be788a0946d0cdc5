#include "climbsbatch.h"

#include "flight/climbs.h"
#include "flight/climbscsv.h"
#include "flight/igcfile.h"
#include "io/filestore.h"

#include <cstdio>

#include <QFileInfo>

int RunClimbs(const QString& logPath) {
    const auto report = [&](const std::string& text) {
        std::fprintf(stderr, "File Error: %s: %s\n", qUtf8Printable(QFileInfo(logPath).fileName()),
                     text.c_str());
    };
    const auto read = ReadFileBytes(logPath);
    const auto* bytes = std::get_if<QByteArray>(&read);
    if (!bytes) {
        report("the file cannot be read.");
        return 1;
    }
    const IgcFlight flight = ReadIgcFile(ByteView(*bytes));
    if (const std::string problems = IgcReadReport(flight); !problems.empty())
        report(problems);
    if (flight.fixes.empty())
        return 1;
    std::fputs(ClimbsCsv(FindClimbs(flight)).c_str(), stdout);
    return 0;
}
