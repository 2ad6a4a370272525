// The project document: the one owner and the one writer of the record.
//
// Every change of the configuration, whatever its source (a control left
// after an edit, a grid cell, a paste, an import, a batch set, the command
// line's `set`, New, Open or a read from the radio), is one named step
// applied through `edit` or `replace`. A step keeps the bytes it changed,
// before and after, so it can be taken back and done again; observers are
// told which bytes of the record a step changed, so a window redraws only
// the rows and controls that show them. Reading never writes.
#pragma once

#include "program_state.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace vkt {

// A run of bytes of the record, by offset into RadioData.
struct ByteRange {
    std::size_t offset = 0;
    std::size_t size = 0;
    bool operator==(const ByteRange &) const = default;
};

// The runs of bytes in which two records differ, in address order.
std::vector<ByteRange> DifferingRanges(const RadioData &a, const RadioData &b);

// Why the state changed.
enum class ChangeKind : std::uint8_t {
    Step,  // a new step (edit or replace)
    Undo,  // a step taken back
    Redo,  // a step done again
    Start, // a new start without history (reset)
};

// What one step did, as observers are told of it.
struct ProjectChange {
    std::string_view name;         // the step's name ("channel 17 · Encode")
    std::vector<ByteRange> ranges; // record bytes that now differ from before
    // The whole state was replaced (New, Open, Read, band limits): every
    // control shows anew, whether or not its bytes moved.
    bool whole = false;
    ChangeKind kind = ChangeKind::Step;

    // Whether the step changed any byte of [offset, offset + size).
    bool touches(std::size_t offset, std::size_t size) const;
    // The same for one member of the record (`&RadioData::vfoA`, say).
    template <typename T>
    bool touches(const T &member, const RadioData &d) const
    {
        return whole || touches(std::size_t(reinterpret_cast<const std::uint8_t *>(&member) -
                                            reinterpret_cast<const std::uint8_t *>(&d)),
                                sizeof(T));
    }
};

class Project {
public:
    // The most steps kept for undo; the oldest go first.
    static constexpr std::size_t kHistoryLimit = 1000;

    // A project of the defaults (SetDefaultAll, band limits as given).
    Project();
    explicit Project(const ProgramState &initial);

    const ProgramState &state() const { return state_; }
    const RadioData &data() const { return state_.data; }

    // One named step: `change` works on the state (the rules need the band
    // limits beside the record) and may return anything, which is handed
    // back. When the record's bytes are the same afterwards, nothing is
    // kept and nobody is told. An edit started from inside another edit's
    // change is part of the outer step.
    template <typename Change>
    auto edit(std::string_view name, Change &&change) -> std::invoke_result_t<Change, ProgramState &>
    {
        if (depth_ > 0)
            return std::forward<Change>(change)(state_);
        Open open(*this);
        if constexpr (std::is_void_v<std::invoke_result_t<Change, ProgramState &>>) {
            std::forward<Change>(change)(state_);
            open.close(name);
        } else {
            auto result = std::forward<Change>(change)(state_);
            open.close(name);
            return result;
        }
    }

    // The whole state at once (New, Open, a read from the radio, new band
    // limits): one step, after which every control shows anew. What the
    // pages store when they show a record (RefreshStores) is applied here,
    // inside the step, so showing it later writes nothing.
    void replace(const ProgramState &next, std::string_view name);
    // The same for the record alone; the band limits, identity, adjustment
    // values and image stay.
    void replaceData(const RadioData &next, std::string_view name);

    // A new start: the state as given, no history; observers are told of
    // a whole change (start-up).
    void reset(const ProgramState &state);

    // ---- history ----
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < history_.size(); }
    // The name of the step undo or redo would take back or do again; empty
    // when there is none.
    std::string_view undoName() const;
    std::string_view redoName() const;
    bool undo();
    bool redo();
    // Steps kept (done and undone).
    std::size_t historySize() const { return history_.size(); }
    // Counts every change of the state (a step, a replace, undo, redo, a
    // new start): equal numbers mean the same state.
    std::uint64_t revision() const { return revision_; }

    // ---- observers ----
    using Observer = std::function<void(const ProjectChange &)>;
    // Called after every step that changed the record, and after every
    // replace, undo and redo. Returns a number for `unobserve`.
    int observe(Observer observer);
    void unobserve(int id);

private:
    struct Piece {
        std::size_t offset;
        std::vector<std::uint8_t> before, after;
    };
    struct Step {
        std::string name;
        std::vector<Piece> pieces; // the record's bytes this step changed
        bool whole = false;
        // A replace keeps the rest of the state too.
        std::vector<ProgramState> outside; // [0] before, [1] after; empty for an edit
    };
    // An edit in progress: keeps the record as it was before.
    class Open {
    public:
        explicit Open(Project &p);
        ~Open();
        void close(std::string_view name);

    private:
        Project &p_;
        RadioData before_;
        bool closed_ = false;
    };

    void record(Step step, const std::vector<ByteRange> &ranges);
    void apply(const Step &step, bool forward);
    void notify(const ProjectChange &change);

    ProgramState state_{};
    std::deque<Step> history_;
    std::size_t done_ = 0; // steps of history_ now applied
    int depth_ = 0;
    std::uint64_t revision_ = 0;
    std::vector<std::pair<int, Observer>> observers_;
    int nextObserver_ = 1;
};

} // namespace vkt
