#!/usr/bin/python3
# Writes agreement_batch.xls, the workbook the batch agreement tests read.
# Needs python3-xlwt; run it again only to change the fixture.
import os
import xlwt

here = os.path.dirname(os.path.abspath(__file__))
book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("Sheet1")
rows = [
    ["처리순번", "외부참조키", "동의자료구분", "동의자료경로"],
    [1, "EXT-OK", "1_서면", "ok.jpg"],
    [2, "EXT-OK2", "4_녹취", "voice.wav"],
    [3, "EXT-BIG", "1_서면", "big.pdf"],
    [4, "EXT-OK", "2_공인전자서명", "ok.jpg"],
    [5, "EXT-CARD", "1_서면", "ok.jpg"],
    [6, "EXT-DONE", "1_서면", "ok.jpg"],
    [7, "EXT-NONE", "1_서면", "ok.jpg"],
    [8, "EXT-OK", "5_ARS", "ok.jpg"],
    [9, "EXT-OK", "1_서면", "missing.gif"],
    [10, "EXT-OK", "1_서면", "note.txt"],
    ["", "", "", ""],
]
for r, row in enumerate(rows):
    for c, v in enumerate(row):
        sheet.write(r, c, v)
book.save(os.path.join(here, "agreement_batch.xls"))

# A sheet without the path column.
book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("Sheet1")
for c, v in enumerate(["처리순번", "납부자번호", "동의자료구분"]):
    sheet.write(0, c, v)
sheet.write(1, 0, 1)
sheet.write(1, 1, 42)
sheet.write(1, 2, "1_서면")
book.save(os.path.join(here, "agreement_missing_column.xls"))

# Only the header row.
book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("Sheet1")
for c, v in enumerate(["처리순번", "납부자번호", "동의자료구분", "동의자료경로"]):
    sheet.write(0, c, v)
book.save(os.path.join(here, "agreement_empty.xls"))
