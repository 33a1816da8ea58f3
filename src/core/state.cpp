#include "core/state.h"
#include "core/text.h"

namespace core {

QString ModuleConfig::dataFile(const QString& name) const { return normalizePath(DataDir + name + DataExt); }
QString ModuleConfig::recordsDir() const { return joinPath(ProgramDir, RecordsFolder); }
QString ModuleConfig::recordFile(const QString& name) const { return joinPath(recordsDir(), name + ".rar"); }
QString ModuleConfig::programFile(const QString& name) const { return joinPath(ProgramDir, name); }

namespace {
ModuleConfig g_config;
SessionState g_session;
}

ModuleConfig& config() { return g_config; }
SessionState& session() { return g_session; }

void resetSharedState() {
    g_config = ModuleConfig{};
    g_session = SessionState{};
}

} // namespace core
