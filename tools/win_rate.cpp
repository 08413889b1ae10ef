#include "win_rate.h"

#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "command_line.h"
#include "game.h"
#include "encounter/levels.h"
#include "level_run.h"
#include "rules.h"
#include "temporary_folder.h"

namespace fs = std::filesystem;

namespace tools {

namespace {

struct SeedGame {
    uint32_t seed = 0;
    int status = kFault;
    std::string outcome;
    int64_t score = -1, frames = 0;
    int deaths = 0;
};

// One seed's game of the level, from a file that opens it with these tiers.
SeedGame playSeed(const SimOptions& options, uint32_t seed, int armor, int weapon) {
    sim::TemporaryFolder folder("rotorstrike-sim");
    Tiers tiers = leastTiers(options.level);
    tiers[kArmorUpgrade] = armor;
    tiers[kWeaponUpgrade] = weapon;
    writeSettingsOpening(folder.path(), options.level, tiers);
    autopilot::GameOptions gameOptions;
    gameOptions.level = options.level;
    gameOptions.seed = seed;
    gameOptions.maxFrames = options.maxFrames;
    gameOptions.gameDirectory = folder.path();
    gameOptions.showInstructions = false;
    autopilot::Game game(gameOptions);
    autopilot::Timeline timeline(game.host());
    while (game.step()) timeline.observe(game.host());
    timeline.observe(game.host());
    SeedGame played;
    played.seed = seed;
    played.frames = game.framesPlayed();
    played.deaths = timeline.deaths();
    played.status = statusOf(game);
    played.outcome = played.status == kOutOfFrames ? "out of frames" : autopilot::outcomeName(game.autopilot().outcome());
    if (played.status != kWon && !game.autopilot().reason().empty()) played.outcome += ": " + game.autopilot().reason();
    if (played.status == kWon) played.score = timeline.wonScore();
    return played;
}

struct Summary {
    int games = 0, started = 0, won = 0;
    double meanScore = 0.0, deaths = 0.0, seconds = 0.0;  // score: of the games won; the rest: of the games started
};

Summary summarize(const std::vector<SeedGame>& games) {
    Summary summary;
    summary.games = static_cast<int>(games.size());
    double scores = 0.0;
    for (const SeedGame& game : games) {
        if (game.status == kRefused) continue;
        ++summary.started;
        summary.deaths += game.deaths;
        summary.seconds += static_cast<double>(game.frames) / 60.0;
        if (game.status != kWon) continue;
        ++summary.won;
        scores += static_cast<double>(game.score);
    }
    if (summary.won > 0) summary.meanScore = scores / summary.won;
    if (summary.started > 0) {
        summary.deaths /= summary.started;
        summary.seconds /= summary.started;
    }
    return summary;
}

double share(const Summary& summary) { return summary.started == 0 ? 0.0 : 100.0 * summary.won / summary.started; }

std::string describe(const Summary& summary) {
    char line[200];
    std::snprintf(line, sizeof line, "won %d of %d started (%.0f %%), mean score %.0f, %.1f deaths a game, %.0f s a game",
                  summary.won, summary.started, share(summary), summary.meanScore, summary.deaths, summary.seconds);
    return line;
}

// Bars in groups, with a legend: one PNG.
struct Bars {
    std::string title;
    std::vector<std::string> series;          // the legend
    std::vector<std::string> groups;          // under each group
    std::vector<std::vector<double>> values;  // values[group][series], 0 to top; < 0: none
    double top = 100.0;                       // the axis' top
    const char* unit = " %";
    std::string note;  // when set, said in one line instead of the bars (they would all be alike)
};

void writeBars(const Bars& bars, const std::string& path) {
    constexpr int kWidth = 1200, kHeight = 600, kLeft = 70, kRight = 20, kTop = 60, kBottom = 90;
    constexpr double kColours[][3] = {{0.25, 0.55, 0.85}, {0.90, 0.45, 0.20}, {0.35, 0.70, 0.35}, {0.60, 0.40, 0.75}};
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* c = cairo_create(surface);
    cairo_set_source_rgb(c, 1, 1, 1);
    cairo_paint(c);
    cairo_select_font_face(c, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(c, 18);
    cairo_set_source_rgb(c, 0, 0, 0);
    cairo_move_to(c, kLeft, 32);
    cairo_show_text(c, bars.title.c_str());
    const double plotHeight = kHeight - kTop - kBottom, plotWidth = kWidth - kLeft - kRight;
    if (!bars.note.empty()) {
        cairo_set_font_size(c, 24);
        cairo_move_to(c, kLeft, kTop + plotHeight / 2.0);
        cairo_show_text(c, bars.note.c_str());
    }
    cairo_set_font_size(c, 12);
    cairo_set_line_width(c, 1);
    for (int tick = 0; tick <= 4 && bars.note.empty(); ++tick) {
        const double value = bars.top * tick / 4.0;
        const double y = kTop + plotHeight * (1.0 - tick / 4.0);
        cairo_set_source_rgb(c, 0.85, 0.85, 0.85);
        cairo_move_to(c, kLeft, y);
        cairo_line_to(c, kWidth - kRight, y);
        cairo_stroke(c);
        cairo_set_source_rgb(c, 0, 0, 0);
        char label[32];
        std::snprintf(label, sizeof label, "%g%s", value, bars.unit);
        cairo_move_to(c, 10, y + 4);
        cairo_show_text(c, label);
    }
    const double groupWidth = plotWidth / static_cast<double>(bars.groups.size());
    const double barWidth = groupWidth * 0.8 / static_cast<double>(bars.series.size());
    for (std::size_t group = 0; group < bars.groups.size() && bars.note.empty(); ++group) {
        const double x0 = kLeft + groupWidth * static_cast<double>(group) + groupWidth * 0.1;
        for (std::size_t series = 0; series < bars.series.size(); ++series) {
            const double value = bars.values[group][series];
            if (value < 0) continue;
            const double* colour = kColours[series % 4];
            cairo_set_source_rgb(c, colour[0], colour[1], colour[2]);
            cairo_rectangle(c, x0 + barWidth * static_cast<double>(series), kTop + plotHeight * (1.0 - value / bars.top),
                            barWidth * 0.9, plotHeight * value / bars.top);
            cairo_fill(c);
        }
        cairo_set_source_rgb(c, 0, 0, 0);
        cairo_move_to(c, x0, kTop + plotHeight + 18);
        cairo_show_text(c, bars.groups[group].c_str());
    }
    for (std::size_t series = 0; series < bars.series.size() && bars.note.empty(); ++series) {
        const double* colour = kColours[series % 4];
        const double x = kLeft + 220.0 * static_cast<double>(series);
        cairo_set_source_rgb(c, colour[0], colour[1], colour[2]);
        cairo_rectangle(c, x, kHeight - 40, 14, 14);
        cairo_fill(c);
        cairo_set_source_rgb(c, 0, 0, 0);
        cairo_move_to(c, x + 20, kHeight - 28);
        cairo_show_text(c, bars.series[series].c_str());
    }
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(c);
    cairo_surface_destroy(surface);
    if (!written) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int playWinRate(const SimOptions& options) {
    const int armor = options.armor != 0 ? options.armor : 1;
    const int weapon = options.weapon != 0 ? options.weapon : leastWeapon(options.level);
    std::vector<SeedGame> games;
    cli::ProgressLine progress("rotorstrike-sim", options.winRate, "seeds");
    for (int index = 0; index < options.winRate; ++index) {
        progress.update(index);
        games.push_back(playSeed(options, options.seed + static_cast<uint32_t>(index), armor, weapon));
        const SeedGame& game = games.back();
        std::printf("seed %u: %s after %lld frames, %s%s\n", game.seed, game.outcome.c_str(),
                    static_cast<long long>(game.frames), cli::counted(game.deaths, "death").c_str(),
                    game.status == kWon ? (", score " + std::to_string(game.score)).c_str() : "");
    }
    const Summary summary = summarize(games);
    const std::string line = "Level " + std::to_string(options.level) + ", armor " + std::to_string(armor) + ", weapon " +
                             std::to_string(weapon) + ": " + describe(summary);
    std::printf("%s\n", line.c_str());
    if (!options.out.empty()) {
        fs::create_directories(options.out);
        const fs::path summaryPath = fs::path(options.out) / "win-rate.txt";
        const fs::path plotPath = fs::path(options.out) / "win-rate.png";
        std::ofstream file(summaryPath);
        file << "seed\toutcome\tframes\tdeaths\tscore\n";
        for (const SeedGame& game : games) {
            file << game.seed << '\t' << game.outcome << '\t' << game.frames << '\t' << game.deaths << '\t'
                 << (game.score < 0 ? std::string("-") : std::to_string(game.score)) << '\n';
        }
        file << line << '\n';
        file.close();
        if (!file) throw std::runtime_error("cannot write " + summaryPath.string());
        // The share won over the seeds played so far.
        Bars bars{line, {"won so far"}, {}, {}, 100.0, " %", {}};
        int won = 0, started = 0;
        for (const SeedGame& game : games) {
            started += game.status == kRefused ? 0 : 1;
            won += game.status == kWon ? 1 : 0;
            bars.groups.push_back(games.size() <= 20 || game.seed % 10 == 0 ? std::to_string(game.seed) : "");
            bars.values.push_back({started == 0 ? -1.0 : 100.0 * won / started});
        }
        if (won == static_cast<int>(games.size())) bars.note = "Every game was won: " + cli::counted(won, "seed") + ", 100 % all along.";
        writeBars(bars, plotPath.string());
        std::printf("summary: %s\nplot: %s\n", summaryPath.c_str(), plotPath.c_str());
    }
    if (summary.started == 0) {
        std::fprintf(stderr, "rotorstrike-sim: no game of Level %d could start: %s\n", options.level, games.front().outcome.c_str());
        return kRefused;
    }
    return kWon;
}

int playBalance(const SimOptions& options) {
    const std::string seeds = std::to_string(options.balance) + " seeds each";
    Bars wins{"Win rate by level and weapon tier, " + seeds, {"armor I", "armor IV"}, {}, {}, 100.0, " %", {}};
    Bars deaths{"Deaths a game by level and weapon tier, " + seeds, {"armor I", "armor IV"}, {}, {}, 4.0, "", {}};
    std::printf("| level | weapon | armor I: won | mean score | deaths a game | game length | armor IV: won | mean score | "
                "deaths a game | game length |\n|---|---|---|---|---|---|---|---|---|---|\n");
    long long all = 0;
    for (int level = 1; level <= kLevelCount; ++level) all += 2LL * (kTopTier - leastWeapon(level) + 1) * options.balance;
    cli::ProgressLine progress("rotorstrike-sim", all, "games");
    long long played = 0;
    for (int level = 1; level <= kLevelCount; ++level) {
        for (int weapon = leastWeapon(level); weapon <= kTopTier; ++weapon) {
            SimOptions pair = options;
            pair.level = level;
            std::printf("| %d | %d |", level, weapon);
            std::vector<double> won, died;
            for (const int armor : {1, 4}) {
                std::vector<SeedGame> games;
                for (int index = 0; index < options.balance; ++index) {
                    progress.update(played++);
                    games.push_back(playSeed(pair, options.seed + static_cast<uint32_t>(index), armor, weapon));
                }
                const Summary summary = summarize(games);
                std::printf(" %.0f %% | %.0f | %.2f | %.0f s |", share(summary), summary.meanScore, summary.deaths, summary.seconds);
                won.push_back(share(summary));
                died.push_back(summary.deaths);
            }
            std::printf("\n");
            std::fflush(stdout);
            for (Bars* bars : {&wins, &deaths}) bars->groups.push_back("L" + std::to_string(level) + " W" + std::to_string(weapon));
            wins.values.push_back(won);
            deaths.values.push_back(died);
        }
    }
    fs::create_directories(options.out);
    for (const auto& [bars, name] : {std::pair<const Bars*, const char*>{&wins, "balance.png"}, {&deaths, "balance-deaths.png"}}) {
        const fs::path plotPath = fs::path(options.out) / name;
        writeBars(*bars, plotPath.string());
        std::printf("plot: %s\n", plotPath.c_str());
    }
    return kWon;
}

}  // namespace tools
