// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/rvmarkupcomponent.h"

#include <QList>
#include <QString>

// The result of parsing a markup text: the text with its tags removed and the styled ranges
// in the order their opening tags appear. A plain value, so that a text can be parsed once
// (even off the main thread) and handed to several labels.
class RVMarkupExtractedComponent
{
public:
    RVMarkupExtractedComponent() = default;
    RVMarkupExtractedComponent(const QList<RVMarkupComponent> &textComponents,
                               const QString &plainText);

    const QList<RVMarkupComponent> &textComponents() const { return m_textComponents; }
    void setTextComponents(const QList<RVMarkupComponent> &components);
    const QString &plainText() const { return m_plainText; }
    void setPlainText(const QString &plainText) { m_plainText = plainText; }

private:
    QList<RVMarkupComponent> m_textComponents;
    QString m_plainText;
};
