// Saves two maps in turn over one file until it is killed: the process that
// test_crash_safety kills mid-save. Usage: save_loop_helper FOLDER NAME MICROSECONDS
// The kernel sends SIGKILL after MICROSECONDS, wherever the loop then is.
#include "document/MapStorage.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

class NoTitle final : public vellumor::TitleDisplay
{
public:
    void showTitle(const QString &) override { }
};

bool killAfter(long microseconds)
{
    sigevent event {};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = SIGKILL;
    timer_t timer;
    if (::timer_create(CLOCK_MONOTONIC, &event, &timer) != 0)
        return false;
    itimerspec when {};
    when.it_value.tv_sec = microseconds / 1000000;
    when.it_value.tv_nsec = (microseconds % 1000000) * 1000 + 1; // zero would disarm it
    return ::timer_settime(timer, 0, &when, nullptr) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FOLDER NAME MICROSECONDS\n", argv[0]);
        return 2;
    }
    vellumor::Standard document;
    document.MapDirectory = QString::fromLocal8Bit(argv[1]);
    document.MapFileName = QString::fromLocal8Bit(argv[2]);
    NoTitle title;
    if (!killAfter(std::atol(argv[3]))) {
        std::perror("timer");
        return 2;
    }
    for (vellumor::SymbolCode code = 7;; code = code == 7 ? 64 : 7) {
        document.MapCells.fill(code);
        if (const auto failure = vellumor::SaveMap(document, title)) {
            std::fprintf(stderr, "%s\n", qPrintable(failure->text));
            return 1;
        }
    }
}
