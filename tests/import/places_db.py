#!/usr/bin/env python3
"""Firefox places databases for the import tests, made with Python's sqlite3 module; started by
the tests through Wine.

  places_db.py make DONE LAYOUT... For each LAYOUT file "x.layout" writes "x.sqlite" beside it, then
                                   writes the file DONE (so the test knows all are there).
  places_db.py hold DATABASE FOLDER HOW
                                   Holds DATABASE as a running Firefox does. HOW "log" (a
                                   log-keeping database): locked for itself alone, with a bookmark
                                   "recent" added to the toolbar that lies in the log only; "lock":
                                   an exclusive lock alone. Writes FOLDER/held once there
                                   (holding "held", or what went wrong);
                                   lets go when FOLDER/stop appears, FOLDER goes, or after a minute,
                                   and writes FOLDER/ended last.

A layout is UTF-8 text. Its first line holds options: "schema=current" (the roots known by guid, as
Firefox writes them today) or "schema=old" (no guid column; the roots listed in
moz_bookmarks_roots) or "schema=other" (a table moz_bookmarks of another program, nothing
else), "journal=wal" or "journal=delete", and "count=N" for N generated bookmarks
in 40 folders below the toolbar. Every further line is an entry, fields separated by tabs:
id, type (1 bookmark, 2 folder, 3 separator), parent, position, title ("\\N" for none), URL.
The roots are there from the start (1 places root, 2 menu, 3 toolbar, 4 tags, 5 other, 6 mobile);
a line with a root's id replaces it.
"""
import os
import sqlite3
import sys
import time
import uuid

CURRENT_SCHEMA = """
CREATE TABLE moz_origins ( id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL,
  frecency INTEGER NOT NULL, recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER,
  recalc_alt_frecency INTEGER NOT NULL DEFAULT 0, UNIQUE (prefix, host) );
CREATE TABLE moz_places ( id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
  visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,
  frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER , guid TEXT,
  foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL , description TEXT,
  preview_image_url TEXT, site_name TEXT, origin_id INTEGER REFERENCES moz_origins(id),
  recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER, recalc_alt_frecency INTEGER NOT NULL DEFAULT 0);
CREATE TABLE moz_historyvisits ( id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER,
  visit_date INTEGER, visit_type INTEGER, session INTEGER, source INTEGER DEFAULT 0 NOT NULL,
  triggeringPlaceId INTEGER);
CREATE TABLE moz_bookmarks ( id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL,
  parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT,
  dateAdded INTEGER, lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0,
  syncChangeCounter INTEGER NOT NULL DEFAULT 1);
CREATE TABLE moz_bookmarks_deleted ( guid TEXT PRIMARY KEY, dateRemoved INTEGER NOT NULL DEFAULT 0);
CREATE TABLE moz_keywords ( id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE,
  place_id INTEGER, post_data TEXT);
CREATE TABLE moz_meta (key TEXT PRIMARY KEY, value NOT NULL) WITHOUT ROWID;
CREATE INDEX moz_places_url_hashindex ON moz_places (url_hash);
CREATE UNIQUE INDEX moz_places_guid_uniqueindex ON moz_places (guid);
CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);
CREATE INDEX moz_bookmarks_itemlastmodifiedindex ON moz_bookmarks (fk, lastModified);
CREATE INDEX moz_bookmarks_dateaddedindex ON moz_bookmarks (dateAdded);
CREATE UNIQUE INDEX moz_bookmarks_guid_uniqueindex ON moz_bookmarks (guid);
"""

# Before the roots had fixed guids: no guid column, and the table of roots.
OLD_SCHEMA = """
CREATE TABLE moz_places ( id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
  visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,
  favicon_id INTEGER, frecency INTEGER DEFAULT -1 NOT NULL);
CREATE TABLE moz_bookmarks ( id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL,
  parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT,
  dateAdded INTEGER, lastModified INTEGER);
CREATE TABLE moz_bookmarks_roots ( root_name VARCHAR(16) UNIQUE, folder_id INTEGER);
CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);
"""

ROOTS = [(1, 0, "", "root________", "places"), (2, 1, "menu", "menu________", "menu"),
         (3, 1, "toolbar", "toolbar_____", "toolbar"), (4, 1, "tags", "tags________", "tags"),
         (5, 1, "unfiled", "unfiled_____", "unfiled"), (6, 1, "mobile", "mobile______", "mobile")]

ROOT_GUIDS = {id: guid for id, _, _, guid, _ in ROOTS}


class Places:
    def __init__(self, db, current):
        self.db = db
        self.current = current
        self.urls = {}

    def place(self, url):
        if url not in self.urls:
            cursor = self.db.execute("INSERT INTO moz_places (url, rev_host, guid) VALUES (?, '', ?)"
                                     if self.current else "INSERT INTO moz_places (url, rev_host) VALUES (?, '')",
                                     (url, uuid.uuid4().hex[:12]) if self.current else (url,))
            self.urls[url] = cursor.lastrowid
        return self.urls[url]

    def entry(self, id, type, parent, position, title, url=None):
        fk = self.place(url) if type == 1 and url else None
        if self.current:
            self.db.execute("INSERT OR REPLACE INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded,"
                            " lastModified, guid) VALUES (?, ?, ?, ?, ?, ?, 1700000000000000, 1700000000000000, ?)",
                            (id, type, fk, parent, position, title, ROOT_GUIDS.get(id, f"b{id:011d}")))
        else:
            self.db.execute("INSERT OR REPLACE INTO moz_bookmarks (id, type, fk, parent, position, title) "
                            "VALUES (?, ?, ?, ?, ?, ?)", (id, type, fk, parent, position, title))


def make(layout):
    with open(layout, encoding="utf-8") as f:
        lines = f.read().split("\n")
    options = dict(option.split("=", 1) for option in lines[0].split())
    target = layout[:-len(".layout")] + ".sqlite"
    for stale in (target, target + "-wal", target + "-shm", target + "-journal"):
        if os.path.exists(stale):
            os.remove(stale)
    db = sqlite3.connect(target)
    db.execute("PRAGMA page_size = 32768")
    db.execute(f"PRAGMA journal_mode = {options.get('journal', 'wal')}")
    if options.get("schema") == "other":
        db.executescript("CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, name TEXT);"
                         "INSERT INTO moz_bookmarks (name) VALUES ('x');")
        db.commit()
        db.close()
        return
    current = options.get("schema", "current") == "current"
    db.executescript(CURRENT_SCHEMA if current else OLD_SCHEMA)
    places = Places(db, current)
    for id, parent, title, _, name in ROOTS:
        places.entry(id, 2, parent, id - 2 if id > 1 else 0, title)
        if not current:
            db.execute("INSERT INTO moz_bookmarks_roots VALUES (?, ?)", (name, id))
    for line in lines[1:]:
        if line:
            id, type, parent, position, title, url = (line.split("\t") + [""])[:6]
            places.entry(int(id), int(type), int(parent), int(position), None if title == "\\N" else title, url)
    count = int(options.get("count", "0"))
    for number in range(count):
        folder = 1000 + number % 40
        if number < 40:
            places.entry(folder, 2, 3, number, f"Folder {number:02d}")
        title = f"ニュース {number}" if number % 5 == 0 else f"Bookmark {number} - Example Site"
        places.entry(2000 + number, 1, folder, number // 40, title,
                     f"https://www.example.com/section/{number % 97}/page-{number}.html")
    if current:
        db.execute("PRAGMA user_version = 78")
    db.commit()
    db.close()


def hold(database, folder, how):
    db = sqlite3.connect(database, isolation_level=None)
    try:
        if how == "log":
            db.execute("PRAGMA locking_mode = EXCLUSIVE")
            db.execute("PRAGMA wal_autocheckpoint = 0")
            db.execute("BEGIN")
            Places(db, True).entry(999, 1, 3, 9999, "recent", "https://recent.example/")
            db.execute("COMMIT")
        else:
            db.execute("BEGIN EXCLUSIVE")
        state = "held"
    except sqlite3.Error as error:  # the test reads why instead of waiting in vain
        state = str(error)
    # Whole or not at all: the test reads the file as soon as it is there.
    with open(os.path.join(folder, "held.tmp"), "w") as f:
        f.write(state)
    os.replace(os.path.join(folder, "held.tmp"), os.path.join(folder, "held"))
    deadline = time.time() + 60
    while time.time() < deadline and os.path.isdir(folder) and not os.path.exists(os.path.join(folder, "stop")):
        time.sleep(0.05)
    db.close()
    if os.path.isdir(folder):
        open(os.path.join(folder, "ended"), "w").close()


if __name__ == "__main__":
    if sys.argv[1] == "make":
        try:
            for layout in sys.argv[3:]:
                make(layout)
        finally:  # a test waiting for the databases learns at once that some are missing
            open(sys.argv[2], "w").close()
    else:
        hold(sys.argv[2], sys.argv[3], sys.argv[4])
