// Work the window hands to a thread of its own (a folder read, a node's
// history), so that it never waits for a file. The result comes back to the
// GUI thread through the window layer's queue (qtl::post_to_gui), whose own
// lock orders the hand-over for the thread checker too; the thread is joined
// once it has handed its result over.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <thread>
#include <utility>

#include "platform/qt/gui_thread.h"

class Background {
 public:
  Background() = default;
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;
  // Joins every thread still at work; their results are dropped.
  ~Background() {
    alive_.reset();
    for (auto& [id, thread] : threads_) thread.join();
  }

  // Runs `work` on a thread of its own, then `done` with its result on the
  // GUI thread, unless this object is gone by then. GUI thread only.
  template <class T>
  void run(std::function<T()> work, std::function<void(T)> done) {
    const std::uint64_t id = ++last_;
    auto hand = std::make_shared<Hand<T>>(Hand<T>{std::move(done), alive_, this, id});
    threads_[id] = std::thread([hand, work = std::move(work)] {
      auto result = std::make_shared<T>(work());
      qtl::post_to_gui([hand, result] {
        if (hand->alive.expired()) return;
        hand->owner->joined(hand->id);
        hand->done(std::move(*result));
      });
    });
  }

 private:
  // What the GUI thread needs back, made and read there only.
  template <class T>
  struct Hand {
    std::function<void(T)> done;
    std::weak_ptr<bool> alive;
    Background* owner;
    std::uint64_t id;
  };

  void joined(std::uint64_t id) {
    auto it = threads_.find(id);
    if (it == threads_.end()) return;
    it->second.join();
    threads_.erase(it);
  }

  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::map<std::uint64_t, std::thread> threads_;
  std::uint64_t last_ = 0;
};
