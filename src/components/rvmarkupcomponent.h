// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QMap>
#include <QString>

#include <optional>

// One styled range of a markup text: the tag that opened it, its attributes and where it
// starts in the plain text. The text stays absent until the matching closing tag is seen, so
// an unclosed tag is recognisable and styles nothing.
class RVMarkupComponent
{
public:
    using Attributes = QMap<QString, QString>;

    RVMarkupComponent() = default;
    RVMarkupComponent(const QString &tagLabel, const Attributes &attributes, qsizetype position);

    const std::optional<QString> &text() const { return m_text; }
    void setText(const std::optional<QString> &text) { m_text = text; }
    const QString &tagLabel() const { return m_tagLabel; }
    void setTagLabel(const QString &tagLabel) { m_tagLabel = tagLabel; }
    const Attributes &attributes() const { return m_attributes; }
    void setAttributes(const Attributes &attributes) { m_attributes = attributes; }
    qsizetype position() const { return m_position; }
    void setPosition(qsizetype position) { m_position = position; }
    int componentIndex() const { return m_componentIndex; }
    void setComponentIndex(int index) { m_componentIndex = index; }

    // Length of the styled range: zero while the tag is unclosed.
    qsizetype length() const { return m_text ? m_text->size() : 0; }

    // Diagnostic text: "text: %@, position: %i[, tag: %@][, attributes: %@]".
    QString description() const;

    friend bool operator==(const RVMarkupComponent &, const RVMarkupComponent &) = default;

private:
    std::optional<QString> m_text;
    QString m_tagLabel;
    Attributes m_attributes;
    qsizetype m_position = 0;
    int m_componentIndex = 0;
};
