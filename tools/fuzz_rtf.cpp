// libFuzzer entry point of the RTF page-file reader: any input must give a page or an error, never a
// crash, a hang or a leak. Built by tools/fuzz/ with clang when clang is installed:
//   build/fuzz_rtf/fuzz_rtf -max_total_time=60 tests/data/document/
#include "document/PageContent.h"
#include "document/RtfReader.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    kx::PageContent pagina;
    QString errore;
    kx::leggiRtf(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), pagina, &errore);
    return 0;
}
