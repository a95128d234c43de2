#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Reads a calendar file with an independent parser (python3-icalendar) after checking what
# that parser forgives: CRLF line ends, lines of at most 75 octets, folds that keep every
# UTF-8 character whole. Prints the events as JSON for the test to compare; exits 1 with the
# reason when the file breaks a rule.
import json
import sys

import icalendar

data = open(sys.argv[1], "rb").read()
lines = data.split(b"\r\n")
if lines[-1] != b"" or any(b"\n" in line or b"\r" in line for line in lines):
    sys.exit("not CRLF line ends throughout")
for line in lines:
    if len(line) > 75:
        sys.exit("line of %d octets: %r" % (len(line), line))
    line.decode("utf-8")  # a fold that split a character leaves a line that is not UTF-8

events = []
for event in icalendar.Calendar.from_ical(data.decode("utf-8")).walk("VEVENT"):
    start, end = event.decoded("DTSTART"), event.decoded("DTEND")
    events.append({
        "uid": str(event["UID"]),
        "start": start.timestamp(),
        "minutes": (end - start).total_seconds() / 60,
        "status": str(event["STATUS"]),
        "sequence": int(event["SEQUENCE"]),
        "summary": str(event["SUMMARY"]),
        "location": str(event.get("LOCATION", "")),
        "description": str(event.get("DESCRIPTION", "")),
        "alarms": sorted(a.decoded("TRIGGER").total_seconds() for a in event.walk("VALARM")),
    })
print(json.dumps(events))
