/* spoolmacro.dll: the printer names the system knows, and the bridge that
   reports the host directory or plays back an NX macro through the host's
   own libugui.dll.

   Texts are NUL-terminated ANSI (code page 936) strings. The records belong
   to the caller; their layouts are shared byte for byte with the add-on
   (32-bit build), and every offset and size is checked below. */
#ifndef SPOOLMACRO_H
#define SPOOLMACRO_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* get_print_list fills at most this many slots of this many bytes each. */
enum { printer_name_slot_size = 256, printer_name_slot_count = 100 };

/* Copies the names of the local printers and the user's printer connections,
   in the spooler's order, into consecutive slots of printer_name_slot_size
   bytes from the start of `name_slots` (room for printer_name_slot_count
   slots); empty names are skipped, a name of 256 bytes or more is cut to 255
   bytes at a character boundary. Bytes after each terminator and slots beyond
   the count are left as they were. Stores the number of filled slots in
   *name_count. Returns 1. */
int get_print_list(char* name_slots, int* name_count);

enum {
    macro_request_host_directory = 2000, /* reply_text receives the host directory; result 0 */
    macro_request_playback = 2001        /* macro_file is played back by the host; result 1 */
};

struct macro_request {
    int32_t request_code; /* any other code only empties reply_text and is returned */
    int32_t nx_version;   /* NX major version of the host, for playback: 3, 4 or 5 */
    char reply_text[256]; /* out: emptied for every request, then the host directory */
    /* The macro to play back, handed unchanged to the host. Only its start is
       fixed: a caller may give a longer text in a longer record. */
    char macro_file[260];
};

/* Serves one request; failures of a playback are shown in message boxes
   captioned "spoolmacro". Returns 0 for the host directory, 1 for a playback,
   and the request code itself for any other request. */
int call_macro(struct macro_request* request);

#ifdef __cplusplus
}
#endif

/* The layout checks. */
#ifdef __cplusplus
#define SPOOLMACRO_ASSERT(cond, what) static_assert(cond, what)
#else
#define SPOOLMACRO_ASSERT(cond, what) _Static_assert(cond, what)
#endif

SPOOLMACRO_ASSERT(offsetof(struct macro_request, request_code) == 0, "macro_request.request_code at 0");
SPOOLMACRO_ASSERT(offsetof(struct macro_request, nx_version) == 4, "macro_request.nx_version at 4");
SPOOLMACRO_ASSERT(offsetof(struct macro_request, reply_text) == 8, "macro_request.reply_text at 8");
SPOOLMACRO_ASSERT(offsetof(struct macro_request, macro_file) == 264, "macro_request.macro_file at 264");
SPOOLMACRO_ASSERT(sizeof(struct macro_request) == 524, "macro_request is 524 bytes");

#undef SPOOLMACRO_ASSERT

#endif
