#pragma once

#include "engine/KeyOutput.h"

#include <QString>

#include <optional>

namespace qv::engine {

class TypingEngine;

// Code editors carry a line's indentation to the next one when Return is
// pressed (their own setting, left as the user has it): the text then holds
// white space the run never typed, and every later line of a paragraph
// opened with a tab gains some. Right before a Return that ends an indented
// line the field's text and caret are read; once the key went out, white
// space the application put after the new line break is taken out again
// with Backspace, read back after each press, so the field holds what was
// typed and nothing more.
class CarriedIndent final : public LineBreakWatch {
public:
    explicit CarriedIndent(TypingEngine &engine);

    QCoro::Task<> before() override;
    QCoro::Task<> after() override;

    // How long the Return, and each Backspace, may take to show (a busy
    // editor takes its keys seconds late).
    static constexpr double kLandMs = 3000;
    static constexpr double kPollMs = 20;

    // The white space the application added after the line break of a
    // Return typed at `caret` of `before`, when `now` is exactly that plus
    // white space right after the break; none otherwise.
    static std::optional<QString> carried(const QString &before, qint64 caret, const QString &now);

private:
    // The field's text once it differs from `from`; none when it does not
    // change in time or cannot be read.
    QCoro::Task<std::optional<QString>> changedFrom(QString from);

    TypingEngine &m_engine;
    std::optional<QString> m_before;
    qint64 m_caret = 0;
};

} // namespace qv::engine
