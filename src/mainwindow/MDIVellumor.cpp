#include "MDIVellumor.h"

namespace vellumor {

MDIVellumor::MDIVellumor(Standard &document, Prompt &prompt, QWidget *parent)
    : QMainWindow(parent)
    , m_document(document)
    , m_prompt(prompt)
{
    setObjectName(QStringLiteral("MDIVellumor"));
    setWindowTitle(titles::kAtStart);
}

void MDIVellumor::showTitle(const QString &title)
{
    setWindowTitle(title);
}

} // namespace vellumor
