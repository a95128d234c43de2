// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/rvmarkupextractedcomponent.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The pure text side of the markup label: turns markup into plain text plus styled ranges, and
// reads the numbers and colours that attribute values hold. It needs no widgets or fonts, so
// it can run on any thread, be tested directly and be fuzzed on its own.
//
// Every input is accepted: unclosed and unmatched tags, stray "<" and ">", entities that spell
// tags, invalid UTF-16. The result always satisfies the invariants checked by isConsistent().
class RVMarkupParser
{
public:
    RVMarkupParser() = delete;

    // Tags are "<" up to the next ">". An opening tag "<name key=value ...>" starts a component
    // at the current plain-text position; "</name>" gives the most recent open component of
    // exactly that name its text. Tags whose text begins with "<p" turn into
    // paragraphReplacement, all others vanish. Once the markup holds a tag, "&lt;" and "&gt;"
    // in its text become "<" and ">"; a markup without any tag is returned unchanged.
    static RVMarkupExtractedComponent extractTextStyleFromText(const QString &markup,
                                                               const QString &paragraphReplacement);

    // Red, green, blue and alpha (0..1) of a colour written as six hexadecimal digits, with or
    // without a leading "#", surrounding blanks allowed. Anything shorter or not hexadecimal
    // gives no colour.
    static std::optional<std::array<double, 4>> hexColorComponents(QStringView text);

    // The integer at the start of a value ("20", " -3px"), 0 when there is none; saturates
    // instead of overflowing.
    static int intValue(QStringView text);
    // The decimal number at the start of a value ("1.5em"), 0 when there is none.
    static double doubleValue(QStringView text);

    // Whether every component lies inside the plain text and its text, when present, is the
    // plain text at its position. Used by tests and the fuzzing harness.
    static bool isConsistent(const RVMarkupExtractedComponent &result);
};
