#include "operator_text.h"

OperatorText OperatorText::Value(std::string value)
{
    OperatorText text;
    text.m_value = std::move(value);
    return text;
}

OperatorText OperatorText::Join(std::vector<OperatorText> parts, std::string separator)
{
    OperatorText text;
    text.m_join = true;
    text.m_value = std::move(separator);
    text.m_parts = std::move(parts);
    return text;
}

std::string OperatorText::Render(const Translate& translate) const
{
    if (m_join) {
        std::string out;
        for (size_t i = 0; i < m_parts.size(); ++i)
            out += (i == 0 ? "" : m_value) + m_parts[i].Render(translate);
        return out;
    }
    if (m_id.source == nullptr)
        return m_value;
    // Every placeholder in one pass, so that a "%2" inside a value stays as it is.
    const std::string sentence = translate ? translate(m_id) : m_id.source;
    std::string out;
    for (size_t i = 0; i < sentence.size(); ++i) {
        const char next = i + 1 < sentence.size() ? sentence[i + 1] : '\0';
        if (sentence[i] == '%' && next >= '1' && next <= '9' && size_t(next - '1') < m_parts.size()) {
            out += m_parts[size_t(next - '1')].Render(translate);
            ++i;
        } else {
            out += sentence[i];
        }
    }
    return out;
}

std::string OperatorText::English() const
{
    return Render(nullptr);
}
