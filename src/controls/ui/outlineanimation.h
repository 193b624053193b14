#pragma once
// The opening/closing effect of small dialogs: an outline rectangle that moves
// from one screen rectangle to another.
#include <QRect>

namespace OutlineAnimation {

inline constexpr int kSteps = 100;

// Rectangle of step `step` (0 … steps) on the straight way from `from` to `to`.
QRect stepRect(const QRect &from, const QRect &to, int step, int steps = kSteps);

// True where the effect is pointless (headless platforms); callers skip it there.
bool isSuppressed();

// Shows the outline for `steps` steps spread over `totalMs`, then hides it.
// Returns at once when suppressed or when either rectangle is empty.
void run(const QRect &from, const QRect &to, int totalMs = 250, int steps = kSteps);

} // namespace OutlineAnimation
