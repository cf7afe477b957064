#!/usr/bin/python3
# A CalDAV client that is not Quillday (python3-caldav): prints the DESCRIPTION of the
# item with that UID, and with a new summary, sets its SUMMARY and saves it.
# Usage: third_client.py CALENDAR-URL USER PASSWORD UID [NEW-SUMMARY]
import sys

import caldav

url, user, password, uid = sys.argv[1:5]
client = caldav.DAVClient(url, username=user, password=password)
item = client.calendar(url=url).object_by_uid(uid)
component = next(c for c in item.vobject_instance.getChildren() if c.name in ("VEVENT", "VTODO"))
print(component.description.value if hasattr(component, "description") else "")
if len(sys.argv) > 5:
    component.summary.value = sys.argv[5]
    item.save()
