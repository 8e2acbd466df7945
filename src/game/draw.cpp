#include "game/draw.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace tfp {
namespace {

// A uniform single-precision value in [0, 1).
float uniform(QRandomGenerator& random)
{
    return static_cast<float>(random.generate() >> 8) * (1.0f / 16777216.0f);
}

qint16 roundHalfEven(float value)
{
    return static_cast<qint16>(std::nearbyint(value));
}

} // namespace

qint16 drawEndingTurn(qint16 totalTurns, qint16 modifier, GameType type, QRandomGenerator& random)
{
    const qint16 offset = roundHalfEven(static_cast<float>(modifier) * uniform(random));
    switch (type) {
    case GameType::Scenario:
        return static_cast<qint16>(totalTurns - offset);
    case GameType::QuickBattle:
        if (roundHalfEven(uniform(random)) > 0)
            return static_cast<qint16>(totalTurns + offset);
        return static_cast<qint16>(totalTurns - offset);
    }
    return 0;
}

bool endingWindowFits(qint16 totalTurns, qint16 modifier, GameType type)
{
    // The draw moves the ending up to the modifier's size away from the turns: a scenario
    // only the way the modifier's sign points, a quick battle either way.
    const int reach = std::abs(int(modifier));
    const bool quick = type == GameType::QuickBattle;
    const int lowest = totalTurns - (quick || modifier > 0 ? reach : 0);
    const int highest = totalTurns + (quick || modifier < 0 ? reach : 0);
    return lowest >= std::numeric_limits<qint16>::min() &&
           highest <= std::numeric_limits<qint16>::max();
}

QString describeEndingRange(qint16 totalTurns, qint16 modifier, GameType type)
{
    const auto lowest = static_cast<qint16>(totalTurns - modifier);
    const auto highest = static_cast<qint16>(totalTurns + modifier);
    switch (type) {
    case GameType::Scenario:
        return QStringLiteral("%1 and %2 (inclusive).").arg(lowest).arg(totalTurns);
    case GameType::QuickBattle:
        return QStringLiteral("%1 and %2 (inclusive).  When setting up your quick battle, be sure "
                              "to set the maximun number of turns to %2.")
            .arg(lowest)
            .arg(highest);
    }
    return {};
}

} // namespace tfp
