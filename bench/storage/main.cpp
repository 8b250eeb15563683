// Saves and loads large lists through Storage and prints the time each step
// takes and the peak memory it needed. Not a test: run it by hand.
//
//   bench_storage [projects=10000] [sets=1000] [cards=50]

#include "core/Random.h"
#include "core/WallClock.h"
#include "model/Storage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

// Peak resident memory of this process in KiB, and a way to start a new
// peak so each step is measured on its own (Linux: /proc/self/clear_refs).
qint64 peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

qint64 currentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

QString words(qv::Random &random, int count)
{
    static const char *const kWords[] = {"the",      "cell",   "membrane",       "controls",    "what",     "enters",
                                         "and",      "leaves", "photosynthesis", "turns",       "light",    "into",
                                         "chemical", "energy", "while",          "respiration", "releases", "it",
                                         "again",    "in",     "every",          "living",      "thing"};
    QString out;
    for (int i = 0; i < count; ++i) {
        if (i)
            out += (random.chance(0.08) ? QStringLiteral(".\n") : QStringLiteral(" "));
        out += QLatin1String(kWords[random.uniformInt(0, std::size(kWords) - 1)]);
    }
    return out;
}

QUuid randomId(qv::Random &random)
{
    return QUuid(uint(random.uniformInt(0, 0xFFFFFFFF)), ushort(random.uniformInt(0, 0xFFFF)),
                 ushort(random.uniformInt(0, 0xFFFF)), uchar(random.uniformInt(0, 255)),
                 uchar(random.uniformInt(0, 255)), uchar(random.uniformInt(0, 255)), uchar(random.uniformInt(0, 255)),
                 uchar(random.uniformInt(0, 255)), uchar(random.uniformInt(0, 255)), uchar(random.uniformInt(0, 255)),
                 uchar(random.uniformInt(0, 255)));
}

void measure(const char *what, const std::function<void()> &step, const QString &file = {})
{
    const qint64 before = currentKiB();
    resetPeak();
    QElapsedTimer timer;
    timer.start();
    step();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const qint64 peak = peakKiB();
    std::printf("%-28s %8.1f ms   peak %7.1f MiB (+%.1f MiB over %.1f MiB before)", what, ms, double(peak) / 1024.0,
                double(peak - before) / 1024.0, double(before) / 1024.0);
    if (!file.isEmpty())
        std::printf("   file %.2f MB", double(QFileInfo(file).size()) / 1e6);
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int projectCount = args.size() > 1 ? args[1].toInt() : 10000;
    const int setCount = args.size() > 2 ? args[2].toInt() : 1000;
    const int cardCount = args.size() > 3 ? args[3].toInt() : 50;

    QTemporaryDir dir;
    qv::FixedWallClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 15), Qt::UTC));
    qv::Storage storage(qv::AppConfig::inFolders(dir.filePath(QStringLiteral("Desktop")),
                                                 dir.filePath(QStringLiteral("share"))),
                        clock);
    qv::SeededRandom random(1);

    QList<qv::Project> projects;
    projects.reserve(projectCount);
    for (int i = 0; i < projectCount; ++i) {
        qv::Project p;
        p.id = randomId(random);
        p.title = QStringLiteral("Essay %1").arg(i);
        p.text = words(random, 45);
        p.wpm = random.uniformInt(20, 120);
        p.isAI = random.chance(0.2);
        p.humanize = random.chance(0.5);
        p.grade = QString::number(random.uniformInt(9, 12));
        p.review = QStringLiteral("medium");
        p.updatedAt = clock.nowUtc().addSecs(-i * 60);
        projects.append(p);
    }
    QList<qv::StudyProject> sets;
    sets.reserve(setCount);
    for (int i = 0; i < setCount; ++i) {
        qv::StudyProject s;
        s.id = randomId(random);
        s.title = QStringLiteral("Set %1").arg(i);
        s.grade = QStringLiteral("11");
        for (int c = 0; c < cardCount; ++c) {
            qv::StudyItem item;
            item.id = randomId(random);
            item.term = words(random, 2);
            item.definition = words(random, 8);
            item.correctCount = random.uniformInt(0, 5);
            item.incorrectCount = random.uniformInt(0, 2);
            if (random.chance(0.5))
                item.lastReviewedAt = clock.nowUtc().addSecs(-c * 3600);
            item.isStarred = random.chance(0.1);
            s.items.append(item);
        }
        s.updatedAt = clock.nowUtc().addSecs(-i * 60);
        sets.append(s);
    }

    std::printf("%d writing projects, %d study sets of %d cards\n", projectCount, setCount, cardCount);
    bool ok = true;
    measure(
        "save projects", [&] { ok &= storage.saveProjects(projects).ok(); }, storage.projectsFilePath());
    QList<qv::Project> loadedProjects;
    measure("load projects", [&] { loadedProjects = storage.loadProjects(); });
    measure(
        "save study sets", [&] { ok &= storage.saveStudyProjects(sets).ok(); }, storage.studyProjectsFilePath());
    QList<qv::StudyProject> loadedSets;
    measure("load study sets", [&] { loadedSets = storage.loadStudyProjects(); });

    ok &= loadedProjects.size() == projects.size() && loadedSets.size() == sets.size();
    if (!ok) {
        std::fprintf(stderr, "bench_storage: a save or load failed\n");
        return 1;
    }
    return 0;
}
