#pragma once

#include "MapStorage.h"

#include <QMainWindow>

namespace vellumor {

class Prompt;

class MDIVellumor : public QMainWindow, public TitleDisplay
{
    Q_OBJECT
public:
    MDIVellumor(Standard &document, Prompt &prompt, QWidget *parent = nullptr);
    void showTitle(const QString &title) override;

private:
    Standard &m_document;
    Prompt &m_prompt;
};

} // namespace vellumor
