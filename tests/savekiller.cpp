// SPDX-License-Identifier: GPL-3.0-or-later
// Saves record A and record B in turn to the given path, as fast as it can,
// until it is killed. test_faults kills it at random moments and checks that
// the file on disk always holds one whole record.

#include "history/recordfile.h"
#include "saverecords.h"

#include <cstdio>

using namespace barovista;

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: savekiller PATH\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const Record records[2] = {testing::saveRecordA(), testing::saveRecordB()};
    // Tells the test that saving begins now, so that its delay counts from here.
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    for (unsigned long i = 0;; ++i) {
        const SaveResult saved = saveRecordFile(path, records[i % 2]);
        if (!saved.ok) {
            std::fprintf(stderr, "savekiller: %s\n", qUtf8Printable(saved.error.systemText));
            return 1;
        }
    }
}
