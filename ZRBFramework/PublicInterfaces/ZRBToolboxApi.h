/* The toolbox attribute functions: how other applications in the CAD session (toolboxes that generate parts or
 * drawings) read and write PDM attributes of a part or drawing and hand the PDM an additional file. Plain C so
 * that any application can look the functions up with dlsym; call them on the host's user-interface thread. */
#ifndef ZRB_TOOLBOX_API_H
#define ZRB_TOOLBOX_API_H

#include <stddef.h>

#ifdef __cplusplus
class CADIProduct;
class CADDocument;
extern "C" {
#else
typedef struct CADIProduct CADIProduct;
typedef struct CADDocument CADDocument;
#endif

/* Results: 0 success, every other value a failure. Nothing is written to a caller's buffer beyond its size. */
enum {
  ZRB_TOOLBOX_OK = 0,
  ZRB_TOOLBOX_NO_SUBJECT = 1,       /* null product or document */
  ZRB_TOOLBOX_BAD_ARGUMENT = 2,     /* null, empty or oversized name, value or path, control characters in a name */
  ZRB_TOOLBOX_NO_IDENTITY = 3,      /* the subject has no PDM identity in this session */
  ZRB_TOOLBOX_NO_FILE_ACCESS = 4,   /* "toolbox.zrb" or "data.zrb" cannot be replaced in the exchange map */
  ZRB_TOOLBOX_CONNECT_FAILED = 5,   /* the PDM session command could not be run */
  ZRB_TOOLBOX_NO_ANSWER = 6,        /* the PDM left no readable answer ("ROOT") */
  ZRB_TOOLBOX_PDM_FAILED = 7,       /* "ACTION_SUCCESS" other than "1", or a "RETURN_CODE" other than 0 */
  ZRB_TOOLBOX_NO_VALUE = 8,         /* get: the PDM answered but wrote no value ("data.zrb" missing) */
  ZRB_TOOLBOX_BUFFER_TOO_SMALL = 9, /* get: the value and its terminating zero do not fit; the buffer holds "" */
  ZRB_TOOLBOX_BAD_VALUE = 10        /* get: the PDM's value is larger than ZRB_TOOLBOX_MAX_VALUE */
};

/* Longest attribute name and value, in bytes. */
#define ZRB_TOOLBOX_MAX_NAME 256
#define ZRB_TOOLBOX_MAX_VALUE 65536

/* Get: the value is copied with its terminating zero into `value` of `valueSize` bytes; leading and trailing
 * white space of the PDM's value is dropped. */
int ZRBGetPartAttributeFromPdm(CADIProduct* product, const char* name, char* value, size_t valueSize);
int ZRBGetDrawingAttributeFromPdm(CADDocument* drawing, const char* name, char* value, size_t valueSize);

/* Supply: `pdmCode` (may be null) receives the PDM's "RETURN_CODE" (-1 when it sent none or no number). */
int ZRBSupplyPartAttributeToPdm(CADIProduct* product, const char* name, const char* value, int* pdmCode);
int ZRBSupplyDrawingAttributeToPdm(CADDocument* drawing, const char* name, const char* value, int* pdmCode);
int ZRBSupplyAdditionalFileForPrdToPdm(CADIProduct* product, const char* path, const char* info, int* pdmCode);
int ZRBSupplyAdditionalFileForDrwToPdm(CADDocument* drawing, const char* path, const char* info, int* pdmCode);

/* Classification of a product; unlike the others this returns a kind, not a result. */
enum {
  ZRB_IN_ARCHIVE_NO_PRODUCT = -1,
  ZRB_IN_ARCHIVE_NONE = 0,      /* none of the three below */
  ZRB_IN_ARCHIVE_ARCHIVE = 1,   /* a product of an archive */
  ZRB_IN_ARCHIVE_STRUCTURE = 2, /* a structure product known to the PDM ("ZRB_OBID") */
  ZRB_IN_ARCHIVE_NEW_MEMBER = 3 /* a new product inside an archive */
};
int ZRBInZRBArchive(CADIProduct* product);

#ifdef __cplusplus
}
#endif

#endif /* ZRB_TOOLBOX_API_H */
