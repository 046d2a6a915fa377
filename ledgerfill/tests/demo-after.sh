# Sourced after the demo has run (by scripts/build.sh, with $root and $out
# set): the workbook the spreadsheet double filled (its own text format),
# written as a real .xlsx that any spreadsheet program opens, part picture
# included.
ledgerfill_demo_after() {
  local filled="$out/ledgerfill_sheet.double" readable="$out/ledgerfill_sheet.xlsx"
  [ -f "$filled" ] || return 0
  if ! /usr/bin/python3 -c 'import openpyxl, PIL' 2>/dev/null; then
    echo "ledgerfill: python3-openpyxl or python3-pil missing, no $readable"
    return 0
  fi
  /usr/bin/python3 "$root/ledgerfill/tools/double_to_xlsx.py" "$filled" "$readable" \
    --drive "D=${CAMTOOLS_DRIVE_D:-/nonexistent}" || echo "ledgerfill: cannot write $readable"
}
ledgerfill_demo_after
