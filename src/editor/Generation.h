// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// One search of the generator for the windows that offer it («Новый квелт», «Квелт дня» and
// the editor's «Случайный»): off the user-interface thread, with «Прервать» once it takes
// long, and the made-up names of what it finds.
#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "solver/Generator.h"

class QPushButton;

namespace kv {

// «8 декабря»: genitive, as a date is said, whatever the locale the game runs in.
QString DayAndMonth(const QDate& date);
// «Случайный 8 декабря, №3»: the first number that no file of the player's folder holds.
QString RandomName(const QDate& date);
// pieces of the library's twelve, drawn with the grade from a seed of its own each time, so
// that every request gives new shapes while each stays reproducible from its seed.
GeneratorRequest RandomRequest(int pieces, int grade);

class GenerationRun final : public QObject {
  public:
    // How long a search runs before «Прервать» shows.
    static constexpr int kStopAfterMs = 200;
    // Gets the outline, or nothing when the search was stopped or found none (the player has
    // been told which).
    using Done = std::function<void(std::optional<GeneratedOutline>)>;

    // stop: the «Прервать» button, hidden until the search has run kStopAfterMs; its click
    // stops the search. The search ends early when this object goes.
    GenerationRun(QPushButton* stop, QObject* parent);
    ~GenerationRun() override;

    bool Running() const { return running_; }
    // The last request started, without its stop flag: the same outline comes from it again.
    const GeneratorRequest& Request() const { return request_; }
    // Starts request through platform::services().jobs; false while a search runs.
    bool Start(const GeneratorRequest& request, Done done);
    void Stop();

  private:
    void Finished(std::optional<GeneratedOutline> outline);

    QPushButton* stop_;
    QTimer timer_;
    // Shared with the worker, which may still be running when this object has gone.
    std::shared_ptr<std::atomic<bool>> stopFlag_;
    GeneratorRequest request_;
    Done done_;
    bool running_ = false;
};

}  // namespace kv
