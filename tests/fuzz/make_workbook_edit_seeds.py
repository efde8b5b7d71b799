#!/usr/bin/env python3
"""Writes the small workbooks under tests/fuzz/corpus/workbook_edit/ that once broke a sheet
delete: a sheet whose relationships part is malformed or has a relationship without an Id (the
delete failed half-way and the next one crashed), and sheets that share one relationship id or
one part (deleting one took the other's body). Run from the repository root; the bytes are
committed, this only documents how they were made."""
import os
import zipfile

OUT = "tests/fuzz/corpus/workbook_edit"
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"
WS = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"


def sheet(ref, text):
    return (f'<worksheet xmlns="{MAIN}"><sheetData><row r="{ref[1:]}"><c r="{ref}" t="inlineStr">'
            f'<is><t>{text}</t></is></c></row></sheetData></worksheet>')


def rel(rid, kind, target):
    return f'<Relationship Id="{rid}" Type="{REL}/{kind}" Target="{target}"/>'


def book(name, sheet_ids, workbook_rels, extra=()):
    """sheet_ids: (sheet name, r:id) in order; workbook_rels: the relationship elements."""
    types = (f'<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
             f'<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
             f'<Default Extension="xml" ContentType="application/xml"/>'
             f'<Override PartName="/xl/workbook.xml" '
             f'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
             f'<Override PartName="/xl/worksheets/sheet1.xml" ContentType="{WS}"/>'
             f'<Override PartName="/xl/worksheets/sheet2.xml" ContentType="{WS}"/></Types>')
    sheets = "".join(f'<sheet name="{n}" sheetId="{i + 1}" r:id="{r}"/>' for i, (n, r) in enumerate(sheet_ids))
    parts = [
        ("[Content_Types].xml", types),
        ("_rels/.rels", f'<Relationships xmlns="{PKG}">{rel("rId1", "officeDocument", "xl/workbook.xml")}'
                        f'</Relationships>'),
        ("xl/workbook.xml", f'<workbook xmlns="{MAIN}" xmlns:r="{REL}"><sheets>{sheets}</sheets></workbook>'),
        ("xl/_rels/workbook.xml.rels", f'<Relationships xmlns="{PKG}">{"".join(workbook_rels)}</Relationships>'),
        ("xl/worksheets/sheet1.xml", sheet("A1", "one")),
        ("xl/worksheets/sheet2.xml", sheet("B2", "two")),
    ]
    parts += list(extra)
    with zipfile.ZipFile(os.path.join(OUT, name), "w", zipfile.ZIP_DEFLATED) as z:
        for part, data in parts:
            info = zipfile.ZipInfo(part, date_time=(2020, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, data)


os.makedirs(OUT, exist_ok=True)
two = [("S1", "rId1"), ("S2", "rId2")]
rels = [rel("rId1", "worksheet", "worksheets/sheet1.xml"), rel("rId2", "worksheet", "worksheets/sheet2.xml")]
drawing = ("xl/drawings/drawing1.xml",
           '<xdr:wsDr xmlns:xdr="http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing"/>')
book("delete_sheet_with_malformed_relationships.xlsx", two, rels,
     [("xl/worksheets/_rels/sheet1.xml.rels", "<Relationships><"), drawing])
book("delete_sheet_with_relationship_without_id.xlsx", two, rels,
     [("xl/worksheets/_rels/sheet1.xml.rels",
       f'<Relationships xmlns="{PKG}"><Relationship Type="{REL}/drawing" Target="../drawings/drawing1.xml"/>'
       f'</Relationships>'), drawing])
book("two_sheets_on_one_relationship_id.xlsx", [("S1", "rId1"), ("S2", "rId1")], rels)
book("two_relationships_to_one_sheet_part.xlsx", two,
     [rel("rId1", "worksheet", "worksheets/sheet1.xml"), rel("rId2", "worksheet", "/xl/worksheets/sheet1.xml")])
