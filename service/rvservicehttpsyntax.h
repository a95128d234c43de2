// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>

// The character rules of an HTTP/1.1 request that the request reader applies, each as strict
// as the protocol allows. A request that one reader takes one way and another reader another
// way is how a request is hidden behind another, so whatever is doubtful is refused rather
// than repaired: no control character inside a value, no blanks where none belong.
class RVServiceHttpSyntax final
{
public:
    // A token: a method, a field name, a transfer coding, a chunk extension's name.
    static bool isToken(QByteArrayView text);
    // Splits a header or trailer line into its lower-case name and its value without the
    // blanks (space, tab) around it. False when the line is not a field or its value holds a
    // control character, wherever it stands.
    static bool splitField(QByteArrayView line, QByteArray *name, QByteArray *value);
    // A path with an optional query, as an origin-form target carries it ("/a/b?c=d").
    static bool isOriginForm(QByteArrayView target);
    // Splits an absolute-form target ("http://host:8080/a?b") into its authority and the
    // origin form of the rest; false when the target is not one.
    static bool splitAbsoluteForm(QByteArrayView target, QByteArray *authority,
                                  QByteArray *originForm);
    // A host with an optional port, without user information (a Host field's value).
    static bool isAuthority(QByteArrayView text);
    // What may follow a chunk's size on its line: extensions, each with an optional value.
    static bool isChunkExtensions(QByteArrayView text);
    // The text without the spaces and tabs at either end; every other byte stays.
    static QByteArrayView trimBlanks(QByteArrayView text);
};
