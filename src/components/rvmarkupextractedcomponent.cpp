// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkupextractedcomponent.h"

RVMarkupExtractedComponent::RVMarkupExtractedComponent(
    const QList<RVMarkupComponent> &textComponents, const QString &plainText)
    : m_textComponents(textComponents), m_plainText(plainText)
{
}

void RVMarkupExtractedComponent::setTextComponents(const QList<RVMarkupComponent> &components)
{
    m_textComponents = components;
}
