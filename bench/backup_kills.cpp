// Kills `mlk backup` at random moments and looks at what each kill left: the target must be
// absent (a new one) or byte for byte the old file (with --force), or else a whole copy that
// checks sound and holds every row; never a half file, never a journal beside it. The moments
// are spread over the time a whole backup takes, measured first in the same run (the anchor).
// The next backup into the folder must clear what the kills left of ours.
//   bench_backup_kills [KILLS [ROWS [PATH-OF-mlk]]]   (20 kills, 200,000 rows unless given;
//   MLK_BENCH_DIR=folder keeps the files, MLK_BENCH_SEED=n repeats a run's moments)
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "db/Integrity.h"
#include "db/Sqlite.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"
#include "support/BenchSupport.h"
#include "support/ExchangeRows.h"

namespace fs = std::filesystem;

namespace {

// Starts mlk with its output thrown away.
pid_t Start(const fs::path& mlk, const std::vector<std::string>& args) {
    std::fflush(stdout);  // else the child would print what this process has buffered
    const pid_t child = fork();
    if (child == 0) {
        const int nothing = open("/dev/null", O_WRONLY);
        dup2(nothing, 1);
        dup2(nothing, 2);
        std::vector<char*> argv{const_cast<char*>(mlk.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(mlk.c_str(), argv.data());
        _exit(127);
    }
    return child;
}

int Wait(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

std::vector<std::string> Names(const fs::path& folder, bool (*match)(const std::string&)) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = mlk::PathText(entry.path().filename());
        if (match(name))
            names.push_back(name);
    }
    return names;
}

bool IsJournal(const std::string& name) {
    return name.ends_with("-journal") || name.ends_with("-wal");
}

// A whole copy: sound to the engine's quick check and holding every row of the directory.
bool IsWholeCopy(const fs::path& file, long long rows) {
    try {
        mlk::Database copy(file, mlk::Database::Access::ReadOnly);
        if (!mlk::CheckDatabase(copy, mlk::CheckDepth::Quick).empty())
            return false;
        mlk::Statement count(copy, "select count(*) from MLK_JiBXX");
        return count.Step() && count.Int(0) == rows;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int kills = argc > 1 ? std::atoi(argv[1]) : 20;
    const long long rows = argc > 2 ? std::atoll(argv[2]) : 200000;
    const fs::path mlk = mlk::bench::MlkProgram(argc, argv, 3);
    const char* seedText = std::getenv("MLK_BENCH_SEED");
    const unsigned seed =
        seedText ? unsigned(std::strtoul(seedText, nullptr, 10)) : unsigned(std::random_device{}());
    std::mt19937 random(seed);

    mlk::bench::RunFolder folder("backup-kills");
    const fs::path db = folder.Path() / "GGJGMLK.DB";
    mlk::bench::BuildDirectory(db, rows);
    // The old file that --force replaces: a small database of its own.
    const fs::path old = folder.Path() / "old.DB";
    mlk::bench::BuildDirectory(old, 10);
    const std::string oldBytes = [&] {
        std::string bytes(fs::file_size(old), '\0');
        std::FILE* in = std::fopen(old.c_str(), "rb");
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
        std::fclose(in);
        return bytes;
    }();
    const auto sameAsOld = [&](const fs::path& file) {
        std::string bytes(oldBytes.size() + 1, '\0');
        std::FILE* in = std::fopen(file.c_str(), "rb");
        if (!in)
            return false;
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
        std::fclose(in);
        return bytes == oldBytes;
    };
    const std::string dbArg = db.string();

    std::printf("load at start %s; seed %u\n", mlk::bench::LoadAverage().c_str(), seed);
    const auto anchorStart = std::chrono::steady_clock::now();
    const int anchorCode =
        Wait(Start(mlk, {"--db", dbArg, "backup", (folder.Path() / "whole.DB").string()}));
    const double anchor =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - anchorStart).count();
    if (anchorCode != 0 || !IsWholeCopy(folder.Path() / "whole.DB", rows)) {
        std::printf("the uninterrupted backup failed (exit %d)\n", anchorCode);
        return 1;
    }
    fs::remove(folder.Path() / "whole.DB");
    std::printf("rows %lld, database %.1f MiB, a whole backup %.2f s (the anchor)\n", rows,
                double(fs::file_size(db)) / (1 << 20), anchor);
    std::printf("%4s %8s %7s %-6s %-14s %s\n", "kill", "moment", "/anchor", "target", "left",
                "temporary copy written when killed");

    std::uniform_real_distribution<double> moment(0.0, 1.1);
    int absent = 0, oldKept = 0, whole = 0, finished = 0, bad = 0, midCopy = 0;
    for (int i = 0; i < kills; ++i) {
        const bool force = i % 2 == 1;
        const fs::path target = folder.Path() / (force ? "forced.DB" : "new.DB");
        fs::remove(target);
        if (force)
            fs::copy_file(old, target);
        std::vector<std::string> args{"--db", dbArg, "backup", target.string()};
        if (force)
            args.push_back("--force");
        const std::vector<std::string> before =
            Names(folder.Path(), &mlk::ReplacingFile::IsTemporaryName);
        const double at = moment(random);
        const pid_t child = Start(mlk, args);
        std::this_thread::sleep_for(std::chrono::duration<double>(at * anchor));
        kill(child, SIGKILL);
        const bool ended = Wait(child) >= 0;

        const std::vector<std::string> journals = Names(folder.Path(), IsJournal);
        // The kill's own temporary copy, when it came in the middle of the copying.
        double written = -1;
        for (const std::string& name : Names(folder.Path(), &mlk::ReplacingFile::IsTemporaryName)) {
            if (std::find(before.begin(), before.end(), name) == before.end())
                written = double(fs::file_size(folder.Path() / name)) / double(fs::file_size(db));
        }
        std::string left;
        if (!journals.empty()) {
            left = "JOURNAL " + journals.front();
        } else if (!fs::exists(target)) {
            left = force ? "OLD FILE GONE" : "absent";
        } else if (force && sameAsOld(target)) {
            left = "old file";
        } else if (IsWholeCopy(target, rows)) {
            left = "whole copy";
        } else {
            left = "HALF FILE";
        }
        const bool good = left == "absent" || left == "old file" || left == "whole copy";
        bad += !good;
        absent += left == "absent";
        oldKept += left == "old file";
        whole += left == "whole copy" && !ended;
        finished += ended;
        midCopy += written >= 0;
        const std::string copy = written < 0 ? "-" : std::to_string(int(written * 100)) + "%";
        std::printf("%4d %7.2fs %7.2f %-6s %-14s %s\n", i + 1, at * anchor, at,
                    force ? "forced" : "new", (left + (ended ? " (ended)" : "")).c_str(),
                    copy.c_str());
    }

    // What the kills left of ours goes with the next write into the folder.
    const int lastCode =
        Wait(Start(mlk, {"--db", dbArg, "backup", (folder.Path() / "last.DB").string()}));
    const std::size_t leftAfter = Names(folder.Path(), &mlk::ReplacingFile::IsTemporaryName).size();
    std::printf(
        "kills %d: mid-copy (a temporary copy of its own left) %d, target absent %d, old file kept "
        "%d, whole copy %d, backup ended before the kill %d; half files or journals %d\n",
        kills, midCopy, absent, oldKept, whole, finished, bad);
    std::printf("the next backup: exit %d, temporary files left after it %zu\n", lastCode,
                leftAfter);
    std::printf("load at end %s\n", mlk::bench::LoadAverage().c_str());
    return bad == 0 && lastCode == 0 && leftAfter == 0 ? 0 : 1;
}
