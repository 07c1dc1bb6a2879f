#!/usr/bin/python3
"""Reads an iCalendar file as Debian's python3-icalendar and python3-dateutil read it, apart
from the program and its library, and prints as JSON the parts of its events that fall on a
page: [{"year", "month" (1 ... 12), "day", "last", "minute" (-1 for all day), "text", "order"}].
Usage: ics_oracle.py FILE YEAR MONTH COUNT, in the time zone of TZ.

Where these readers depart from RFC 5545: python3-icalendar decodes lines before it unfolds
them, so that a fold within a UTF-8 sequence breaks the text (the file is unfolded here
first); dateutil leaves out a DTSTART that its rule does not
match (the files here start on one that does), and repeats a rule by replacing fields of an
aware time, which is wrong across a change of offset: rules are followed here in wall-clock
time and placed in their zone afterwards, as the RFC has it. python3-icalendar knows Windows
zone names, but leaves a time naive where its TZID has a zone collection's prefix
("/mozilla.org/20070129_1/America/New_York"): the zone is found here by the name's last two
parts."""
import calendar
import datetime as dt
import json
import re
import sys

import icalendar
from dateutil import rrule, tz

path, year, month, count = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
last_month = month - 1 + count - 1
page = (dt.date(year, month, 1),
        dt.date(year + last_month // 12, last_month % 12 + 1,
                calendar.monthrange(year + last_month // 12, last_month % 12 + 1)[1]))
local = tz.gettz()


def zoned(prop):
    """A property's time, with the zone its TZID names by the last two parts where
    python3-icalendar left it naive."""
    value = prop.dt
    tzid = prop.params.get('TZID', '')
    if isinstance(value, dt.datetime) and value.tzinfo is None and tzid.startswith('/'):
        value = value.replace(tzinfo=tz.gettz('/'.join(tzid.split('/')[-2:])))
    return value


def wall(value):
    """A time as written, without its zone, and the zone; a date as its midnight, since
    dateutil follows rules on times only."""
    if isinstance(value, dt.datetime):
        return value.replace(tzinfo=None), value.tzinfo
    return dt.datetime.combine(value, dt.time()), None


def place(naive, zone):
    if zone is None or not isinstance(naive, dt.datetime):
        return naive
    return zone.localize(naive) if hasattr(zone, 'localize') else naive.replace(tzinfo=zone)


def span(start, length):
    """The local first and last day of an occurrence, and the minute it starts."""
    if not isinstance(start, dt.datetime):
        return start, start + max(length, dt.timedelta(days=1)) - dt.timedelta(days=1), -1
    if start.tzinfo is not None:
        start = start.astimezone(local)
    end = start + length - dt.timedelta(seconds=1) if length > dt.timedelta(0) else start
    return start.date(), max(start.date(), end.date()), start.hour * 60 + start.minute


def starts(event, overridden):
    """The starts of an event's occurrences near the page, EXDATEs and overrides left out."""
    first, zone = wall(zoned(event['DTSTART']))
    if 'RECURRENCE-ID' in event:
        return [zoned(event['DTSTART'])]
    rules = rrule.rruleset()
    rules.rdate(first)
    listed = lambda name: [v for v in (lambda vs: vs if isinstance(vs, list) else [vs])(
        event.get(name, [])) if v is not None]
    for rule in listed('RRULE'):
        rules.rrule(rrule.rrulestr(rule.to_ical().decode(), dtstart=first, ignoretz=True))
    for name, add in (('RDATE', rules.rdate), ('EXDATE', rules.exdate)):
        for value in listed(name):
            for d in value.dts:
                add(wall(d.dt)[0])
    low = dt.datetime.combine(page[0] - dt.timedelta(days=400), dt.time())
    high = dt.datetime.combine(page[1] + dt.timedelta(days=2), dt.time())
    dated = not isinstance(event['DTSTART'].dt, dt.datetime)
    return [d.date() if dated else place(d, zone) for d in rules.between(low, high, inc=True)
            if d not in overridden]


def parts(events):
    """Each occurrence's days on the page, a part for each month, by day and then by event."""
    overridden = {}
    for e in events:
        if 'RECURRENCE-ID' in e:
            overridden.setdefault(str(e['UID']), set()).add(wall(e['RECURRENCE-ID'].dt)[0])
    found = []
    for order, e in enumerate(events):
        if str(e.get('STATUS', '')).upper() == 'CANCELLED':
            continue
        start = zoned(e['DTSTART'])
        if 'DTEND' in e:
            length = zoned(e['DTEND']) - start
        else:
            length = e['DURATION'].dt if 'DURATION' in e else dt.timedelta(0)
        uid = str(e['UID'])
        seen = set()
        for s in starts(e, overridden.get(uid, set()) if 'RECURRENCE-ID' not in e else set()):
            first, last, minute = span(s, length)
            if first in seen:
                continue
            seen.add(first)
            day = max(first, page[0])
            while day <= min(last, page[1]):
                end = min(last, page[1], day.replace(day=calendar.monthrange(day.year, day.month)[1]))
                found.append({'year': day.year, 'month': day.month, 'day': day.day, 'last': end.day,
                              'minute': minute if day == first else -1,
                              'text': ' '.join(str(e.get('SUMMARY', '')).split()), 'order': order,
                              'place': ' '.join(str(e.get('LOCATION', '')).split())})
                day = end + dt.timedelta(days=1)
    return sorted(found, key=lambda p: (p['year'], p['month'], p['day'], p['order']))


with open(path, 'rb') as file:
    calendar_file = icalendar.Calendar.from_ical(re.sub(rb'\r?\n[ \t]', b'', file.read()))
print(json.dumps(parts([c for c in calendar_file.walk('VEVENT')])))
