#include "message_texts.h"

#include <QCoreApplication>

std::string Translated(const OperatorText& text)
{
    return text.Render([](const TextId& id) { return QCoreApplication::translate(id.context, id.source).toStdString(); });
}
