#pragma once

#include "engine/KeyOutput.h"

#include <QString>

#include <optional>

namespace qv::engine {

class TypingEngine;

// Some editors take the parts of an emoji sequence joined by U+200D (a
// family) as keys of their own and lose some or put them out of order;
// pasted, the sequence stays whole. Right before such a cluster is typed the
// field's text and caret are read (once the keys before it have landed);
// once it went out and the field is quiet again, what landed in its place is
// checked, and when it is the cluster's parts and nothing else, they are
// selected and the whole cluster pasted over them and read back, where the
// run may use the clipboard. Otherwise it is left for the end check.
class WholeCluster final : public ClusterWatch {
public:
    explicit WholeCluster(TypingEngine &engine);

    QCoro::Task<> before() override;
    QCoro::Task<> after(QString cluster) override;

    // How long the key may take to show.
    static constexpr double kLandMs = 3000;
    static constexpr double kPollMs = 20;

private:
    TypingEngine &m_engine;
    std::optional<QString> m_before;
    qint64 m_caret = 0;
};

} // namespace qv::engine
