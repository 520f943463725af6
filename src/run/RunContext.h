#pragma once

#include "count/AnalysisReport.h"
#include "count/TextCounter.h"
#include "run/RunLog.h"
#include "run/RunRequest.h"
#include "run/RunUi.h"
#include "run/SettingsStore.h"
#include "run/TextLookup.h"

namespace celltrove::run {

/// The state of one run, handed to every driver and engine it calls. The
/// lookup, the settings and the user interface belong to the caller and outlive
/// the run; the log and the counters belong to the run.
class RunContext {
public:
    RunContext(const RunRequest &request, const TextLookup &texts, SettingsStore &settings, RunUi &ui)
        : m_request(request), m_texts(texts), m_settings(settings), m_ui(ui) {}

    const RunRequest &request() const { return m_request; }
    RunUi &ui() { return m_ui; }
    SettingsStore &settings() { return m_settings; }
    RunLog &log() { return m_log; }
    count::TextCounter &counter() { return m_counter; }

    /// The text lookup: the translation of a German literal.
    QString T(const QString &german) const { return m_texts.LookupText(german); }
    /// Writes one line to the run log.
    void WriteLog(const QString &line) { m_log.WriteLog(line); }

    /// The analysis report with the "Count" settings as they are stored now.
    count::AnalysisReport report() const;

    /// Set by any step that refuses a file; reported at the end of the run.
    bool runError = false;
    /// True when the last file went the table way (read by the total report).
    bool tableFlag = false;
    /// Number of files selected for the run (the total report's "Anzahl Dateien").
    int selectedFileCount = 0;
    /// 1-based number of the selected file being processed; 0 outside the file loop.
    int fileOrdinal = 0;

private:
    const RunRequest &m_request;
    const TextLookup &m_texts;
    SettingsStore &m_settings;
    RunUi &m_ui;
    RunLog m_log;
    count::TextCounter m_counter;
};

}  // namespace celltrove::run
