#include "project.h"

#include "fields.h"

#include <algorithm>
#include <cstring>

namespace vkt {

namespace {

const std::uint8_t *BytesOf(const RadioData &d) { return reinterpret_cast<const std::uint8_t *>(&d); }
std::uint8_t *BytesOf(RadioData &d) { return reinterpret_cast<std::uint8_t *>(&d); }

} // namespace

std::vector<ByteRange> DifferingRanges(const RadioData &a, const RadioData &b)
{
    std::vector<ByteRange> ranges;
    const std::uint8_t *x = BytesOf(a), *y = BytesOf(b);
    const std::size_t n = sizeof(RadioData);
    // Most steps change a few bytes: compare in words and look closer only
    // where a word differs.
    std::size_t i = 0;
    while (i < n) {
        if (i + 8 <= n && std::memcmp(x + i, y + i, 8) == 0) {
            i += 8;
            continue;
        }
        if (x[i] == y[i]) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < n && x[i] != y[i])
            ++i;
        if (!ranges.empty() && ranges.back().offset + ranges.back().size == start)
            ranges.back().size += i - start;
        else
            ranges.push_back({start, i - start});
    }
    return ranges;
}

bool ProjectChange::touches(std::size_t offset, std::size_t size) const
{
    if (whole)
        return true;
    return std::any_of(ranges.begin(), ranges.end(), [offset, size](const ByteRange &r) {
        return r.offset < offset + size && offset < r.offset + r.size;
    });
}

Project::Project()
{
    SetDefaultAll(state_);
}

Project::Project(const ProgramState &initial) : state_(initial) {}

// ---- steps -------------------------------------------------------------------

Project::Open::Open(Project &p) : p_(p), before_(p.state_.data) { ++p_.depth_; }

Project::Open::~Open()
{
    if (!closed_)
        --p_.depth_;
}

void Project::Open::close(std::string_view name)
{
    closed_ = true;
    --p_.depth_;
    std::vector<ByteRange> ranges = DifferingRanges(before_, p_.state_.data);
    if (ranges.empty())
        return;
    Step step;
    step.name = std::string(name);
    step.pieces.reserve(ranges.size());
    const std::uint8_t *was = BytesOf(before_), *now = BytesOf(p_.state_.data);
    for (const ByteRange &r : ranges)
        step.pieces.push_back({r.offset, std::vector<std::uint8_t>(was + r.offset, was + r.offset + r.size),
                               std::vector<std::uint8_t>(now + r.offset, now + r.offset + r.size)});
    p_.record(std::move(step), ranges);
}

void Project::replace(const ProgramState &next, std::string_view name)
{
    ProgramState after = next;
    RefreshStores(after.data);
    Step step;
    step.name = std::string(name);
    step.whole = true;
    step.outside = {state_, after};
    const std::vector<ByteRange> ranges = DifferingRanges(state_.data, after.data);
    state_ = std::move(after);
    record(std::move(step), ranges);
}

void Project::replaceData(const RadioData &next, std::string_view name)
{
    ProgramState s = state_;
    s.data = next;
    replace(s, name);
}

void Project::reset(const ProgramState &state)
{
    state_ = state;
    history_.clear();
    done_ = 0;
    notify({"", {}, true, ChangeKind::Start});
}

void Project::record(Step step, const std::vector<ByteRange> &ranges)
{
    // A new step drops the steps that were undone.
    history_.erase(history_.begin() + std::ptrdiff_t(done_), history_.end());
    history_.push_back(std::move(step));
    if (history_.size() > kHistoryLimit)
        history_.pop_front();
    done_ = history_.size();
    const std::string name = history_.back().name;
    notify({name, ranges, history_.back().whole});
}

// ---- history -----------------------------------------------------------------

std::string_view Project::undoName() const { return canUndo() ? std::string_view(history_[done_ - 1].name) : ""; }

std::string_view Project::redoName() const { return canRedo() ? std::string_view(history_[done_].name) : ""; }

void Project::apply(const Step &step, bool forward)
{
    const RadioData before = state_.data;
    const std::string name = step.name;
    if (step.whole) {
        state_ = step.outside[forward ? 1 : 0];
    } else {
        std::uint8_t *bytes = BytesOf(state_.data);
        for (const Piece &p : step.pieces) {
            const std::vector<std::uint8_t> &v = forward ? p.after : p.before;
            std::memcpy(bytes + p.offset, v.data(), v.size());
        }
    }
    notify({name, DifferingRanges(before, state_.data), step.whole, forward ? ChangeKind::Redo : ChangeKind::Undo});
}

bool Project::undo()
{
    if (!canUndo() || depth_ > 0)
        return false;
    --done_;
    apply(history_[done_], false);
    return true;
}

bool Project::redo()
{
    if (!canRedo() || depth_ > 0)
        return false;
    apply(history_[done_], true);
    ++done_;
    return true;
}

// ---- observers ---------------------------------------------------------------

int Project::observe(Observer observer)
{
    observers_.emplace_back(nextObserver_, std::move(observer));
    return nextObserver_++;
}

void Project::unobserve(int id)
{
    std::erase_if(observers_, [id](const auto &o) { return o.first == id; });
}

void Project::notify(const ProjectChange &change)
{
    ++revision_;
    // An observer may add or drop observers while it is told.
    const auto observers = observers_;
    for (const auto &[id, observer] : observers) {
        const bool still = std::any_of(observers_.begin(), observers_.end(),
                                       [id = id](const auto &o) { return o.first == id; });
        if (still && observer)
            observer(change);
    }
}

} // namespace vkt
