"""Prints a workbook as JSON, read by xlrd: for every sheet its name and its
rows, each cell as [type, value] (type: xlrd's ctype), plus the bold flag of
every cell's font. Usage: python3 xls_dump.py FILE"""
import json
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheets = []
for sheet in book.sheets():
    rows = []
    bold = []
    for r in range(sheet.nrows):
        rows.append([[c.ctype, c.value] for c in sheet.row(r)])
        bold.append([book.font_list[book.xf_list[c.xf_index].font_index].bold
                     for c in sheet.row(r)])
    widths = {str(k): v.width for k, v in sheet.colinfo_map.items()}
    sheets.append({"name": sheet.name, "rows": rows, "bold": bold, "widths": widths})
json.dump({"sheets": sheets}, sys.stdout, ensure_ascii=True)
