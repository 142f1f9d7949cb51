#pragma once

// A text for the operator, kept as the marked English sentences it is made
// of and the values filled into them: the desktop shows it in the session's
// language, orbisk-cli in English. Code below the desktop stays free of Qt;
// Qt's lupdate still finds every sentence where it is written.

#include <functional>
#include <string>
#include <vector>

// A sentence as written in the code, and the context its translations are
// filed under.
struct TextId {
    const char* context;
    const char* source; // English; %1 ... %9 where the values go
};

// Marks a sentence where it is written. lupdate reads TEXT_ID as it reads
// QT_TRANSLATE_NOOP (told so by -tr-function-alias, ui/CMakeLists.txt).
#define TEXT_ID(context, source) (TextId {context, source})

class OperatorText {
public:
    OperatorText() = default; // empty
    // A marked sentence with its values for %1, %2 ...: strings as they
    // are (an address, a system error), or texts translated in their turn.
    template <class... Values>
    OperatorText(TextId id, Values&&... values) : m_id(id), m_parts {Part(std::forward<Values>(values))...}
    {
    }

    // A value shown as it is, never translated.
    static OperatorText Value(std::string value);
    // The parts one after the other, `separator` between them.
    static OperatorText Join(std::vector<OperatorText> parts, std::string separator);

    // The text with each sentence as `translate` gives it (the session's
    // language; none: English), the values filled in.
    using Translate = std::function<std::string(const TextId&)>;
    std::string Render(const Translate& translate) const;
    std::string English() const;

private:
    static OperatorText Part(OperatorText text) { return text; }
    static OperatorText Part(std::string value) { return Value(std::move(value)); }

    TextId m_id {nullptr, nullptr};    // no source: a value or a join
    bool m_join = false;
    std::string m_value;               // the value, or a join's separator
    std::vector<OperatorText> m_parts; // the values of a sentence, the parts of a join
};
