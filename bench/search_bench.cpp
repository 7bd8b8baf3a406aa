// The catalogue search on a generated catalogue (500,000 songs unless told
// otherwise), at the server: both stages of CariJudulArtis for a table of
// keywords x group filter x list mode, called the way the console calls it
// (the console's command object on its own account over TCP, the patterns and
// keyword class the console builds), next to the same searches done as a plain
// LIKE '%...%' scan of the song table; and the time to fill the console's song
// list with the 715 rows of both stages. The run starts its own private server
// in the build folder, loads the catalogue, prints a summary with the medians
// and ratios against the targets, and stops the server.
//
//   bench_search [--songs=N] [--search_repetitions=N] [--baseline_repetitions=N]
//                [--keep_catalogue] [--benchmark_...]
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/adocommand.h"
#include "app/sqltext.h"
#include "app/umodule.h"
#include "bench/benchoptions.h"
#include "bench/benchserver.h"
#include "console/uplayer.h"
#include "widgets/smoothlistbox.h"

namespace {

constexpr int kTitleTarget = 1;  // cbtitsing: 1 titles, 0 artists
constexpr int kArtistTarget = 0;

struct Keyword {
    const char* label;
    QString text;  // as typed into the search field
    int target;
};

const Keyword kKeywords[] = {
    {"one letter", "S", kTitleTarget},        {"short word", "LOVE", kTitleTarget},
    {"two words", "MY LOVE", kTitleTarget},   {"sign", "&", kTitleTarget},
    {"typed %", "100%", kTitleTarget},        {"artist initials", "B M", kArtistTarget},
    {"empty (whole list)", "", kTitleTarget},
};
const int kGroups[] = {0, 2};
const char* const kModes[] = {"Songlist", "Hits", "New", "Popular", "HD"};

struct Stage {
    const char* name;
    int offset;
    int count;
};
const Stage kStages[] = {{"first", 0, Tfplayer::kFirstStageCount},
                         {"second", Tfplayer::kFirstStageCount, Tfplayer::kSecondStageCount}};

constexpr double kFirstStageTargetMs = 10;
constexpr double kSecondStageTargetMs = 50;
constexpr double kFillTargetMs = 15;

struct Options {
    int songs = 500000;
    int searchRepetitions = 15;
    int baselineRepetitions = 3;
    bool keepCatalogue = false;
};

// The connections of the run: the console's settings holder and command object
// for the procedure, an administrator's connection for the baseline scan.
struct Connections {
    Tfmodule module;
    TAdoCommand AdoSpFlast{"AdoSpFlast", &module.AdoConn, TAdoCommand::Kind::StoredProc};
    QSqlDatabase admin;
};
Connections* connections = nullptr;

QString CallText(const Keyword& k, int group, int mode, const Stage& stage) {
    const QString pattern = Tfplayer::SearchPattern(k.text);
    const int keywordClass = k.text.isEmpty() ? 1 : Tfplayer::KeywordClass(k.text);
    return sqltext::CallText(QStringLiteral("CariJudulArtis"),
                             {qint64{keywordClass}, qint64{group}, qint64{0}, qint64{mode},
                              k.target == kTitleTarget ? pattern : QString(),
                              k.target == kTitleTarget ? QString() : pattern, qint64{stage.offset},
                              qint64{stage.count}});
}

// The same search as one plain statement: the pattern anywhere in the text,
// every row of the song table read and the matches sorted.
QString BaselineText(const Keyword& k, int group, int mode, const Stage& stage) {
    const QString like =
        sqltext::QuotedStr(QLatin1Char('%') + Tfplayer::SearchPattern(k.text) + QLatin1Char('%'));
    const QString target =
        k.target == kTitleTarget ? QStringLiteral("judul") : QStringLiteral("artis");
    const QString other =
        k.target == kTitleTarget ? QStringLiteral("artis") : QStringLiteral("judul");
    static const char* const modeFilter[] = {"", " AND hits = 1", " AND baru = 1",
                                             " AND jumlahputar > 0", " AND hd = 1"};
    static const char* const modeOrder[] = {"", "jumlahputar DESC, ", "tanggalmasuk DESC, ",
                                            "jumlahputar DESC, ", ""};
    return QStringLiteral("SELECT judul, artis, idlagu FROM lagu USE INDEX () WHERE ") + target +
           " LIKE " + like + " ESCAPE '\\'" +
           (group != 0 ? QStringLiteral(" AND idgolongan = %1").arg(group) : QString()) +
           modeFilter[mode] + " ORDER BY " + modeOrder[mode] + target + ", " + other +
           ", idlagu LIMIT " + QString::number(stage.offset) + ", " + QString::number(stage.count);
}

void RunProcedure(benchmark::State& state, QString text) {
    TAdoCommand& command = connections->AdoSpFlast;
    for (auto _ : state) {
        command.SetText(text);
        command.Open();
        benchmark::DoNotOptimize(command.RecordCount());
        command.Close();
    }
}

void RunBaseline(benchmark::State& state, QString text) {
    for (auto _ : state) {
        QSqlQuery query(connections->admin);
        if (!query.exec(text)) {
            state.SkipWithError(query.lastError().text().toStdString().c_str());
            return;
        }
        int rows = 0;
        while (query.next()) {
            ++rows;
        }
        benchmark::DoNotOptimize(rows);
    }
}

// What a stage costs the console besides the call: it disconnects after each
// stage, so the next one connects again.
void BM_ConsoleConnect(benchmark::State& state) {
    TAdoConnection& connection = connections->module.AdoConn;
    for (auto _ : state) {
        connection.Close();
        connection.EnsureOpen();
    }
}

struct SongRow {
    QString judul;
    QString artis;
    int idlagu;
};

// The rows of both stages of the one-letter search, as the console receives them.
std::vector<SongRow> StageRows() {
    std::vector<SongRow> rows;
    for (const Stage& stage : kStages) {
        TAdoCommand& command = connections->AdoSpFlast;
        command.SetText(CallText(kKeywords[0], 0, 0, stage));
        command.Open();
        for (command.First(); !command.Eof(); command.Next()) {
            rows.push_back({command.FieldByName(QStringLiteral("judul")).AsString(),
                            command.FieldByName(QStringLiteral("artis")).AsString(),
                            command.FieldByName(QStringLiteral("idlagu")).AsInteger()});
        }
        command.Close();
    }
    return rows;
}

// The console's song list filled with both stages' rows the way a search stage
// fills it: emptied, rows built and appended with updates suspended, the first
// row selected. With `paint`, the list then draws itself once, as the event
// loop would do right after.
void FillSongList(benchmark::State& state, bool paint) {
    const std::vector<SongRow> rows = StageRows();
    SmoothListBox list;
    list.setGraphic(SmoothListBox::Graphic::Add);
    list.setGeometry(33, 181, 778, 266);
    if (paint) {
        list.show();
    }
    for (auto _ : state) {
        list.clear();
        {
            const SmoothListBox::UpdateScope update(list);
            for (const SongRow& row : rows) {
                list.addItem({.notes = QStringLiteral("<html>") +
                                       Tfplayer::TruncateWithEllipsis(row.judul, 30) +
                                       QStringLiteral("<IND x=\"350\">") +
                                       Tfplayer::TruncateWithEllipsis(row.artis, 30) +
                                       QStringLiteral("</html>"),
                              .tag = row.idlagu,
                              .hint = QString::number(row.idlagu)});
            }
        }
        list.setSelectedIndex(0);
        if (paint) {
            list.repaint();
        }
    }
    state.counters["rows"] = static_cast<double>(list.count());
}

std::string Name(const char* kind, const Keyword& k, int group, int mode, const Stage& stage) {
    return std::string(kind) + "/" + k.label + "/group:" + std::to_string(group) + "/" +
           kModes[mode] + "/" + stage.name;
}

// Every benchmark reports the median of its repetitions in real time: the work
// is the server's, not this process's.
void Repeat(benchmark::internal::Benchmark* benchmark, int repetitions, bool oneRunEach) {
    if (oneRunEach) {
        benchmark->Iterations(1);
    }
    benchmark->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
}

void RegisterSearches(const Options& options) {
    for (const Keyword& k : kKeywords) {
        for (int group : kGroups) {
            for (int mode = 0; mode < 5; ++mode) {
                for (const Stage& stage : kStages) {
                    Repeat(
                        benchmark::RegisterBenchmark(Name("search", k, group, mode, stage).c_str(),
                                                     RunProcedure, CallText(k, group, mode, stage)),
                        options.searchRepetitions, true);
                    Repeat(benchmark::RegisterBenchmark(
                               Name("baseline", k, group, mode, stage).c_str(), RunBaseline,
                               BaselineText(k, group, mode, stage)),
                           options.baselineRepetitions, true);
                }
            }
        }
    }
    Repeat(benchmark::RegisterBenchmark("console/connect before a stage", BM_ConsoleConnect),
           options.searchRepetitions, false);
    Repeat(benchmark::RegisterBenchmark("songlist/fill 715 rows", FillSongList, false),
           options.searchRepetitions, false);
    Repeat(benchmark::RegisterBenchmark("songlist/fill 715 rows and paint", FillSongList, true),
           options.searchRepetitions, false);
}

// Keeps the median real time (milliseconds) of every benchmark, by the name it
// was registered with, for the summary.
class TMedianReporter : public benchmark::ConsoleReporter {
public:
    TMedianReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            // A single repetition has no aggregates: its one run is its median.
            if (run.run_type == Run::RT_Iteration && run.repetitions <= 1) {
                medians_[run.run_name.function_name] = run.GetAdjustedRealTime();
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians_[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double Median(const std::string& name) const {
        const auto found = medians_.find(name);
        return found == medians_.end() ? -1 : found->second;
    }

private:
    std::map<std::string, double> medians_;
};

std::string Milliseconds(double value) {
    if (value < 0) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, value < 10 ? "%.2f" : "%.1f", value);
    return text;
}

std::string Ratio(double baseline, double search) {
    if (baseline < 0 || search <= 0) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.0fx", baseline / search);
    return text;
}

void PrintSummary(std::ostream& out, const TMedianReporter& reporter, const QString& loadReport) {
    out << "\nCatalogue search, medians in milliseconds at the server (" << loadReport.toStdString()
        << ")\n";
    out << "  keyword              group  mode      | first  baseline ratio | second  baseline "
           "ratio\n";
    double worstFirst = 0;
    double worstSecond = 0;
    std::string worstFirstName;
    std::string worstSecondName;
    for (const Keyword& k : kKeywords) {
        for (int group : kGroups) {
            for (int mode = 0; mode < 5; ++mode) {
                double medians[2][2];
                for (int s = 0; s < 2; ++s) {
                    medians[s][0] = reporter.Median(Name("search", k, group, mode, kStages[s]));
                    medians[s][1] = reporter.Median(Name("baseline", k, group, mode, kStages[s]));
                }
                if (medians[0][0] < 0 && medians[1][0] < 0) {
                    continue;
                }
                char line[200];
                std::snprintf(line, sizeof line, "  %-20s %5d  %-9s | %6s %8s %5s | %6s %9s %5s\n",
                              k.label, group, kModes[mode], Milliseconds(medians[0][0]).c_str(),
                              Milliseconds(medians[0][1]).c_str(),
                              Ratio(medians[0][1], medians[0][0]).c_str(),
                              Milliseconds(medians[1][0]).c_str(),
                              Milliseconds(medians[1][1]).c_str(),
                              Ratio(medians[1][1], medians[1][0]).c_str());
                out << line;
                const std::string name =
                    std::string(k.label) + ", group " + std::to_string(group) + ", " + kModes[mode];
                if (medians[0][0] > worstFirst) {
                    worstFirst = medians[0][0];
                    worstFirstName = name;
                }
                if (medians[1][0] > worstSecond) {
                    worstSecond = medians[1][0];
                    worstSecondName = name;
                }
            }
        }
    }
    const auto verdict = [](double value, double target) {
        return value <= target ? " (within the target of " : " (OVER the target of ";
    };
    out << "\nslowest first stage:  " << Milliseconds(worstFirst) << " ms, " << worstFirstName
        << verdict(worstFirst, kFirstStageTargetMs) << kFirstStageTargetMs << " ms)\n";
    out << "slowest second stage: " << Milliseconds(worstSecond) << " ms, " << worstSecondName
        << verdict(worstSecond, kSecondStageTargetMs) << kSecondStageTargetMs << " ms)\n";
    const double fill = reporter.Median("songlist/fill 715 rows");
    out << "song list filled with 715 rows: " << Milliseconds(fill) << " ms"
        << verdict(fill, kFillTargetMs) << kFillTargetMs << " ms)\n";
}

Options ParseOptions(int& argc, char** argv) {
    Options options;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (ReadNumberOption(argument, "songs", options.songs) ||
            ReadNumberOption(argument, "search_repetitions", options.searchRepetitions) ||
            ReadNumberOption(argument, "baseline_repetitions", options.baselineRepetitions)) {
            continue;
        }
        if (argument == "--keep_catalogue") {
            options.keepCatalogue = true;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LYRABOX_LOOPBACK_ONLY", "1");
    Options options;
    try {
        options = ParseOptions(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "bench_search: " << error.what() << std::endl;
        return 2;
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    try {
        TBenchServer server(QStringLiteral(LYRABOX_BINARY_DIR "/bench-mariadb"),
                            QStringLiteral(LYRABOX_BINARY_DIR "/db/account.env"));
        const QString loadReport = server.StartWithCatalogue(options.songs, options.keepCatalogue);

        // The console's settings holder reads setting.ini from its working folder.
        QDir::setCurrent(server.Folder());
        Connections run;
        run.admin = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), QStringLiteral("baseline"));
        run.admin.setUserName(QStringLiteral("root"));
        run.admin.setDatabaseName(TBenchServer::SongsDatabase());
        run.admin.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + server.SocketPath());
        if (!run.admin.open()) {
            throw std::runtime_error("baseline connection: " +
                                     run.admin.lastError().text().toStdString());
        }
        QSqlQuery(run.admin).exec(
            QStringLiteral("SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_BACKSLASH_ESCAPES')"));
        connections = &run;

        RegisterSearches(options);
        TMedianReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        PrintSummary(std::cout, reporter, loadReport);
        connections = nullptr;
        run.admin.close();
    } catch (const std::exception& failure) {
        std::cerr << "bench_search: " << failure.what() << std::endl;
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
