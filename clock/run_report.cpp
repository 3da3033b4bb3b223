#include "clock/run_report.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <utility>

#include "base/duration_text.h"
#include "clock/schedule.h"
#include "store/csv_records.h"

namespace tallyglass {

namespace {
struct LogLine {
    int64_t second = 0;  // of the local day, from the line's time, days counted from the first line
    std::string event, segment;
};

// "2026-12-07T14:32:05+01:00,event,\"a, b\",540,API" read back; none for a record that is not one.
std::optional<LogLine> LineOf(const std::vector<std::string>& fields) {
    if (fields.size() != 5 || fields[0].size() < 19 || fields[0][10] != 'T') return std::nullopt;
    const auto time = ParseTimeOfDay(std::string_view(fields[0]).substr(11, 8));
    if (!time) return std::nullopt;
    return LogLine{*time, fields[1], fields[2]};
}

struct Run {
    std::string segment;
    int64_t start = 0, end = -1, pausedAt = -1, paused = 0, adjusted = 0;
    int64_t zeroAt = -1;  // when the count reached zero, if it did
};

// "add +60" or "add -60": the seconds; 0 for a line written otherwise.
int64_t AddedSeconds(const std::string& event) {
    int64_t seconds = 0;
    const char* first = event.data() + 4 + (event.size() > 4 && event[4] == '+');
    std::from_chars(first, event.data() + event.size(), seconds);
    return seconds;
}

// One line of the run: true when it ends it. An alert that ends by itself ends the run
// when the count reached zero; the operator's reset or move ends it when it comes (an
// overtime's end is its reset).
bool TakeLine(Run& run, const LogLine& line) {
    if (line.event == "pause") run.pausedAt = line.second;
    if (line.event == "resume" && run.pausedAt >= 0) run.paused += line.second - std::exchange(run.pausedAt, -1);
    if (line.event.rfind("add ", 0) == 0) run.adjusted += AddedSeconds(line.event);
    if (line.event == "counting ended" || line.event == "warning ended") run.zeroAt = line.second;
    const bool byItself = line.event == "alert ended" && run.zeroAt >= 0;
    if (!byItself && line.event != "reset" && line.event != "segment") return false;
    run.end = byItself ? run.zeroAt : line.second;
    if (run.pausedAt >= 0) run.paused += run.end - run.pausedAt;
    return true;
}

std::string ReportTime(int64_t second) {
    char text[12];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(second / 3600 % 24),
                  static_cast<int>(second / 60 % 60), static_cast<int>(second % 60));
    return text;
}

std::string Row(const Run& run, const std::vector<ShowSegment>& show, const ShowPlan& plan) {
    std::string plannedStart, plannedLength, over;
    const int64_t duration = run.end - run.start;
    for (size_t i = 0; i < show.size(); ++i) {
        if (show[i].name != run.segment) continue;
        plannedLength = std::to_string(show[i].seconds);
        over = std::to_string(duration - show[i].seconds);
        if (i < plan.spans.size())
            plannedStart = FormatTimeOfDay(static_cast<int32_t>(plan.spans[i].start % kSecondsPerDay));
        break;
    }
    return CsvField(run.segment) + "," + plannedStart + "," + plannedLength + "," + ReportTime(run.start) + "," +
           ReportTime(run.end) + "," + std::to_string(duration) + "," + over + "," + std::to_string(run.paused) + "," +
           std::to_string(run.adjusted);
}
}  // namespace

std::string RunReport(std::string_view logText, const std::vector<ShowSegment>& show) {
    const ShowPlan plan = PlanShow(show);
    std::string report = std::string(kReportHeader) + "\r\n";
    std::optional<Run> run;
    int64_t day = 0, last = -1;
    CsvReader reader(logText, ',');
    while (!reader.AtEnd()) {
        std::optional<LogLine> line = LineOf(reader.NextRecord(6));  // six fields read: a sixth is not a log line
        if (!line) continue;
        if (last >= 0 && line->second + day < last - kSecondsPerDay / 2) day += kSecondsPerDay;  // past midnight
        line->second += day;
        last = line->second;
        if (!run) {
            if (line->event == "start") run = Run{line->segment, line->second};
        } else if (TakeLine(*run, *line)) {
            report += Row(*run, show, plan) + "\r\n";
            run.reset();
        }
    }
    return report;
}

}  // namespace tallyglass
