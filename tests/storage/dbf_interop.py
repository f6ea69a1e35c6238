"""Independent dBASE readers and writers for the table interop tests.

usage: dbf_interop.py MODE TABLE ROWS
  MODE  dbfread | dbf | dbf-clp          read TABLE, compare with ROWS
        write-db3 | write-fp | write-clp  write TABLE from ROWS with python3-dbf
  ROWS  first line: field descriptions NAME:TYPE:LEN:DEC separated by blanks;
        then one line per record: tab-separated hex of the UTF-8 text of each
        value (C text without trailing blanks, N decimal text, D yyyymmdd or
        empty, L T/F, M the memo text).
Prints "OK <records>" or the mismatches / the reader's error.
"""
import datetime
import decimal
import sys


def load_rows(path):
    lines = open(path, encoding="ascii").read().split("\n")
    fields = [tuple(f.split(":")) for f in lines[0].split()]
    rows = [[bytes.fromhex(v).decode("utf-8") for v in line.split("\t")]
            for line in lines[1:] if line != ""]
    return fields, rows


def canonical(value):
    if value is None:
        return ""
    if isinstance(value, bool):
        return "T" if value else "F"
    if isinstance(value, (datetime.date, datetime.datetime)):
        return value.strftime("%Y%m%d")
    if hasattr(value, "strftime"):  # dbf.Date
        return value.strftime("%Y%m%d") if value else ""
    if isinstance(value, (int, float, decimal.Decimal)):
        return value
    if isinstance(value, bytes):
        value = value.decode("cp850")
    text = str(value)
    if text in ("True", "False") and type(value).__name__ == "Logical":
        return text[0]
    return text.rstrip(" ")


def same(kind, got, want):
    if kind == "N":
        if isinstance(got, str):
            got = got.strip() or "0"
        w = decimal.Decimal(want)
        g = decimal.Decimal(repr(got)) if isinstance(got, float) else decimal.Decimal(got)
        tolerance = max(abs(w), 1) * decimal.Decimal("1e-16")
        return abs(g - w) <= max(tolerance, decimal.Decimal("1e-12"))
    return got == want


def read(mode, table, fields, rows):
    if mode == "dbfread":
        from dbfread import DBF
        records = [dict(r) for r in DBF(table, encoding="cp850", char_decode_errors="strict")]
        get = lambda rec, name: rec[name]
    else:
        import dbf
        t = dbf.Table(table, dbf_type="clp" if mode == "dbf-clp" else None, codepage="cp850")
        t.open(dbf.READ_ONLY)
        names = t.field_names
        records = [{n.upper(): r[n] for n in names} for r in t]
        t.close()
        get = lambda rec, name: rec[name.upper()]
    problems = []
    if len(records) != len(rows):
        problems.append("records: got %d want %d" % (len(records), len(rows)))
    for i, (rec, want) in enumerate(zip(records, rows), 1):
        for (name, kind, _len, _dec), w in zip(fields, want):
            g = canonical(get(rec, name))
            if kind == "L" and g in (True, False):
                g = "T" if g else "F"
            if not same(kind, g, w):
                problems.append("record %d %s: got %r want %r" % (i, name, g, w))
    return problems, len(records)


def write(mode, table, fields, rows):
    import dbf
    columns = []
    for name, kind, length, dec in fields:
        if kind == "C":
            columns.append("%s C(%s)" % (name, length))
        elif kind == "N":
            columns.append("%s N(%s,%s)" % (name, length, dec))
        else:
            columns.append("%s %s" % (name, kind))
    t = dbf.Table(table, "; ".join(columns), dbf_type=mode.split("-")[1], codepage="cp850")
    t.open(dbf.READ_WRITE)
    for row in rows:
        values = []
        for (name, kind, length, dec), v in zip(fields, row):
            if kind == "N":
                values.append(int(v) if int(dec) == 0 else float(v))
            elif kind == "D":
                values.append(datetime.date(int(v[:4]), int(v[4:6]), int(v[6:])) if v else None)
            elif kind == "L":
                values.append(v == "T")
            else:
                values.append(v)
        t.append(tuple(values))
    t.close()


def main():
    mode, table, rows_path = sys.argv[1:4]
    fields, rows = load_rows(rows_path)
    try:
        if mode.startswith("write-"):
            write(mode, table, fields, rows)
            print("OK %d" % len(rows))
            return 0
        problems, n = read(mode, table, fields, rows)
    except Exception as e:  # the reader's own refusal is the result
        print("ERROR %s: %s" % (type(e).__name__, e))
        return 2
    if problems:
        print("\n".join(problems[:20]))
        return 1
    print("OK %d" % n)
    return 0


if __name__ == "__main__":
    sys.exit(main())
