// The module settings file read at start-up (every line a run of six-digit
// character codes), with the first-run registration it may lead to.
#include "core/clock.h"
#include "core/forms.h"
#include "core/platform.h"
#include "core/registry.h"
#include "core/state.h"
#include "core/text.h"
#include "fuzz_support.h"
#include "session/frm_start.h"

using namespace core;

namespace {
std::shared_ptr<FakePlatform> g_platform;
std::shared_ptr<MemoryRegistryStore> g_registry;
TestClock g_clock;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet();
    g_platform = std::make_shared<FakePlatform>();
    g_platform->folder = fuzz::scratch() + "/prog";
    QDir().mkpath(g_platform->folder + "/wdata");
    setPlatform(g_platform);
    setClock(&g_clock);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray in = fuzz::bytes(data, size);
    const QString prog = g_platform->folder;
    fuzz::writeFile(prog + "/ver.txt", in);
    fuzz::writeFile(prog + "/wdata/288892.rar", "0\r\n");
    g_registry = std::make_shared<MemoryRegistryStore>();
    setRegistryStore(g_registry);
    resetSharedState();

    // Each line decodes to the characters its groups name, and the text of
    // a decoded line encodes back to groups that decode to it again.
    const QStringList lines = splitLines(fromGbk(in));
    int n = 0;
    for (const QString& l : lines) {
        if (++n > 45) break;
        const QString text = session::decodeSettingsLine(l);
        FUZZ_CHECK(text.size() <= (l.size() + 5) / 6 * 2);
        FUZZ_CHECK(session::decodeSettingsLine(session::encodeSettingsLine(text)) == text);
    }

    session::FrmStart& start = session::frmStart()();
    const ModuleConfig& c = config();
    if (start.refused) {
        FUZZ_CHECK(lines.isEmpty());
    } else {
        FUZZ_CHECK(!lines.isEmpty());
        FUZZ_CHECK(trimSpaces(c.ModuleName) == c.ModuleName);
        FUZZ_CHECK(c.DataDir.endsWith(u'/') && !c.DataDir.contains(QStringLiteral("//")));
        for (int i = 0; i <= 20; ++i) FUZZ_CHECK(trimSpaces(c.InfoLines[i]) == c.InfoLines[i]);
        for (int i = 21; i <= 40; ++i) FUZZ_CHECK(c.InfoLines[i].isEmpty());
    }
    unloadAllForms();
    return 0;
}
