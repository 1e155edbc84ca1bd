#pragma once

#include "dialogs/Prompt.h"
#include "document/MapStorage.h"
#include "document/Standard.h"

#include <QCoreApplication>
#include <QString>

#include <ctime>

namespace vellumor::bench {

// This thread's processor time: one short task timed alone, unmoved by other work.
inline double threadNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

// A map with every cell drawn, each a two-digit code, so that its file is the
// largest one the editor writes: 875 lines of two digits, 3,500 bytes.
inline MapCodes fullMap()
{
    MapCodes codes {};
    for (int i = 0; i < kCellCount; ++i)
        codes[std::size_t(i)] = SymbolCode(10 + (i * 7) % (kHighestSymbolCode - 9));
    return codes;
}

// Says Yes to every question and shows no dialog, so that commands run through.
class YesPrompt final : public Prompt
{
public:
    Answer ask(QWidget *, const QString &, const QString &, Buttons, Icon) override
    {
        return Answer::Yes;
    }
    void runModal(QDialog &) override { }
};

class NoTitle final : public TitleDisplay
{
public:
    void showTitle(const QString &title) override { shown = title; }
    QString shown;
};

// Delivers every pending update, so that what a command asked to repaint has
// been painted when this returns.
inline void paintPending()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace vellumor::bench
