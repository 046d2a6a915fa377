/* ledgerfill.dll: fills a program sheet workbook through the spreadsheet
   application's OLE Automation interface.

   The add-on fills one sheet_request and a singly linked list of
   program_entry records and calls excel_file_2010. Both records belong to the
   caller and are only read. Their layouts are shared byte for byte with the
   add-on (32-bit build): every offset and size is checked below.

   Texts are NUL-terminated ANSI (code page 936) strings inside fixed fields;
   a field's size is its whole room, NUL included. Rows and columns are
   1-based sheet coordinates (row 1, column 1 is A1). */
#ifndef LEDGERFILL_H
#define LEDGERFILL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The cell that receives one header text. */
struct header_item {
    int32_t enabled; /* nonzero: the text is written */
    int32_t row;
    int32_t column;
};

enum { header_item_count = 26 };

struct sheet_request {
    int32_t picture_wanted;                            /* place the part picture after the table */
    struct header_item header_items[header_item_count]; /* item k names the cell of header_text_<k> */
    int32_t border_weight;     /* frame weight of the table cells; low 16 bits, signed */
    int32_t first_row;         /* sheet row where the program table starts */
    int32_t reserved_324;      /* not read */
    int32_t group_name_column; /* column of the group name in a group row */
    int32_t time_as_hours;     /* nonzero: times as hours:minutes; zero: whole minutes */
    int32_t picture_trimmed;   /* nonzero: the picture file needs no trimming */
    /* The header texts, back to back in the order they are written. */
    char header_text_0[256];
    char header_text_1[128];
    char header_text_14[256];
    char header_text_15[80];
    char header_text_2[133];
    char header_text_3[512];
    char header_text_4[512];
    char header_text_5[133];
    char header_text_6[133];
    char header_text_7[80];
    char header_text_8[256];
    char header_text_9[256];
    char header_text_10[133];
    char header_text_11[80];
    char header_text_12[80];
    char header_text_16[80];
    char header_text_17[80];
    char header_text_18[80];
    char header_text_19[30];
    char header_text_20[30];
    char header_text_21[30];
    char header_text_13[80]; /* written only when not empty */
    char header_text_22[80];
    char header_text_23[80];
    char header_text_24[80];
    char header_text_25[80];
    char workbook_path[512];      /* opened, filled and saved in place */
    char column_codes[80];        /* one code character per table column */
    char picture_first_cell[80];  /* one corner of the picture range, e.g. "B30" */
    char picture_last_cell[80];   /* the opposite corner */
    char reserved_4850[6];        /* not read */
    double level_base;            /* reference for the program's level (codes e, j) */
    double e_addend;              /* added by code e */
    double x_addend;              /* added by code x */
    double y_addend;              /* added by code y */
};

/* Marks a missing level or machining time. */
#define PROGRAM_VALUE_MISSING (-10000.0)

/* One NC program, one row of the table. Fields are named after the column
   code that writes them. */
struct program_entry {
    int32_t reserved_0; /* not read */
    char group_name[128];
    char text_b[384];
    char text_5[500];
    char text_c[128];
    char text_g[256];
    int32_t tool_number; /* d */
    int32_t reserved_1404; /* not read */
    double tool_diameter;  /* s */
    double corner_radius;  /* s */
    double value_f;        /* f, x */
    double value_t;
    double value_n;
    double value_m;
    double value_p;
    double value_o;
    double value_h;
    double value_i;
    double level;             /* e, j, k; PROGRAM_VALUE_MISSING when missing */
    double machining_minutes; /* l; PROGRAM_VALUE_MISSING when missing */
    int32_t number_z;
    int32_t flag_1;
    double value_u;
    double value_v;
    double value_y;
    double x_subtrahend; /* x */
    char text_w[256];
    char text_6[256];
    char text_7[512]; /* 7 and 8 */
    char text_q[260];
    char text_2[81];
    char text_3[1000];
    char text_4[263];
    /* The following entry, null in the last one. A 32-bit pointer in the
       add-on's layout; a 64-bit host build (native tests) widens it. */
    const struct program_entry* next;
};

/* Fills the workbook request->workbook_path names and leaves the spreadsheet
   application running and visible with it. Returns nothing; problems are
   shown in message boxes. Needs COM initialised on the calling thread. */
void excel_file_2010(const struct sheet_request* request, const struct program_entry* first_program);

#ifdef __cplusplus
}
#endif

/* The layout checks. */
#ifdef __cplusplus
#define LEDGERFILL_ASSERT(cond, what) static_assert(cond, what)
#else
#define LEDGERFILL_ASSERT(cond, what) _Static_assert(cond, what)
#endif
#define LEDGERFILL_AT(type, field, offset) \
    LEDGERFILL_ASSERT(offsetof(struct type, field) == (offset), #type "." #field " at " #offset)

LEDGERFILL_ASSERT(sizeof(struct header_item) == 12, "header_item is 12 bytes");
LEDGERFILL_AT(header_item, enabled, 0);
LEDGERFILL_AT(header_item, row, 4);
LEDGERFILL_AT(header_item, column, 8);

LEDGERFILL_ASSERT(sizeof(struct sheet_request) == 4888, "sheet_request is 4888 bytes");
LEDGERFILL_AT(sheet_request, picture_wanted, 0);
LEDGERFILL_AT(sheet_request, header_items, 4);
LEDGERFILL_AT(sheet_request, border_weight, 316);
LEDGERFILL_AT(sheet_request, first_row, 320);
LEDGERFILL_AT(sheet_request, reserved_324, 324);
LEDGERFILL_AT(sheet_request, group_name_column, 328);
LEDGERFILL_AT(sheet_request, time_as_hours, 332);
LEDGERFILL_AT(sheet_request, picture_trimmed, 336);
LEDGERFILL_AT(sheet_request, header_text_0, 340);
LEDGERFILL_AT(sheet_request, header_text_1, 596);
LEDGERFILL_AT(sheet_request, header_text_14, 724);
LEDGERFILL_AT(sheet_request, header_text_15, 980);
LEDGERFILL_AT(sheet_request, header_text_2, 1060);
LEDGERFILL_AT(sheet_request, header_text_3, 1193);
LEDGERFILL_AT(sheet_request, header_text_4, 1705);
LEDGERFILL_AT(sheet_request, header_text_5, 2217);
LEDGERFILL_AT(sheet_request, header_text_6, 2350);
LEDGERFILL_AT(sheet_request, header_text_7, 2483);
LEDGERFILL_AT(sheet_request, header_text_8, 2563);
LEDGERFILL_AT(sheet_request, header_text_9, 2819);
LEDGERFILL_AT(sheet_request, header_text_10, 3075);
LEDGERFILL_AT(sheet_request, header_text_11, 3208);
LEDGERFILL_AT(sheet_request, header_text_12, 3288);
LEDGERFILL_AT(sheet_request, header_text_16, 3368);
LEDGERFILL_AT(sheet_request, header_text_17, 3448);
LEDGERFILL_AT(sheet_request, header_text_18, 3528);
LEDGERFILL_AT(sheet_request, header_text_19, 3608);
LEDGERFILL_AT(sheet_request, header_text_20, 3638);
LEDGERFILL_AT(sheet_request, header_text_21, 3668);
LEDGERFILL_AT(sheet_request, header_text_13, 3698);
LEDGERFILL_AT(sheet_request, header_text_22, 3778);
LEDGERFILL_AT(sheet_request, header_text_23, 3858);
LEDGERFILL_AT(sheet_request, header_text_24, 3938);
LEDGERFILL_AT(sheet_request, header_text_25, 4018);
LEDGERFILL_AT(sheet_request, workbook_path, 4098);
LEDGERFILL_AT(sheet_request, column_codes, 4610);
LEDGERFILL_AT(sheet_request, picture_first_cell, 4690);
LEDGERFILL_AT(sheet_request, picture_last_cell, 4770);
LEDGERFILL_AT(sheet_request, reserved_4850, 4850);
LEDGERFILL_AT(sheet_request, level_base, 4856);
LEDGERFILL_AT(sheet_request, e_addend, 4864);
LEDGERFILL_AT(sheet_request, x_addend, 4872);
LEDGERFILL_AT(sheet_request, y_addend, 4880);

LEDGERFILL_AT(program_entry, reserved_0, 0);
LEDGERFILL_AT(program_entry, group_name, 4);
LEDGERFILL_AT(program_entry, text_b, 132);
LEDGERFILL_AT(program_entry, text_5, 516);
LEDGERFILL_AT(program_entry, text_c, 1016);
LEDGERFILL_AT(program_entry, text_g, 1144);
LEDGERFILL_AT(program_entry, tool_number, 1400);
LEDGERFILL_AT(program_entry, reserved_1404, 1404);
LEDGERFILL_AT(program_entry, tool_diameter, 1408);
LEDGERFILL_AT(program_entry, corner_radius, 1416);
LEDGERFILL_AT(program_entry, value_f, 1424);
LEDGERFILL_AT(program_entry, value_t, 1432);
LEDGERFILL_AT(program_entry, value_n, 1440);
LEDGERFILL_AT(program_entry, value_m, 1448);
LEDGERFILL_AT(program_entry, value_p, 1456);
LEDGERFILL_AT(program_entry, value_o, 1464);
LEDGERFILL_AT(program_entry, value_h, 1472);
LEDGERFILL_AT(program_entry, value_i, 1480);
LEDGERFILL_AT(program_entry, level, 1488);
LEDGERFILL_AT(program_entry, machining_minutes, 1496);
LEDGERFILL_AT(program_entry, number_z, 1504);
LEDGERFILL_AT(program_entry, flag_1, 1508);
LEDGERFILL_AT(program_entry, value_u, 1512);
LEDGERFILL_AT(program_entry, value_v, 1520);
LEDGERFILL_AT(program_entry, value_y, 1528);
LEDGERFILL_AT(program_entry, x_subtrahend, 1536);
LEDGERFILL_AT(program_entry, text_w, 1544);
LEDGERFILL_AT(program_entry, text_6, 1800);
LEDGERFILL_AT(program_entry, text_7, 2056);
LEDGERFILL_AT(program_entry, text_q, 2568);
LEDGERFILL_AT(program_entry, text_2, 2828);
LEDGERFILL_AT(program_entry, text_3, 2909);
LEDGERFILL_AT(program_entry, text_4, 3909);
#if UINTPTR_MAX == 0xFFFFFFFFu
LEDGERFILL_AT(program_entry, next, 4172);
LEDGERFILL_ASSERT(sizeof(struct program_entry) == 4176, "program_entry is 4176 bytes");
#endif

#undef LEDGERFILL_AT
#undef LEDGERFILL_ASSERT

#endif
