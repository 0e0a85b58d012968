/* convert FILE: converts one VFK file through the installed library.
 * Prints "true" or "false", the library's result, and exits 0 on true. */
#include <Vorlane.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* UTF-8 to NUL-terminated UTF-16; NULL on a malformed sequence. */
static char16_t* toUtf16(const char* text) {
  size_t length = strlen(text);
  char16_t* result = malloc((length + 1) * sizeof(char16_t));
  size_t out = 0;
  const unsigned char* p = (const unsigned char*)text;
  while (result != NULL && *p != 0) {
    unsigned long code;
    int extra;
    if (*p < 0x80) { code = *p; extra = 0; }
    else if ((*p & 0xE0) == 0xC0) { code = *p & 0x1Fu; extra = 1; }
    else if ((*p & 0xF0) == 0xE0) { code = *p & 0x0Fu; extra = 2; }
    else if ((*p & 0xF8) == 0xF0) { code = *p & 0x07u; extra = 3; }
    else { free(result); return NULL; }
    ++p;
    for (; extra > 0; --extra, ++p) {
      if ((*p & 0xC0) != 0x80) { free(result); return NULL; }
      code = (code << 6) | (*p & 0x3Fu);
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      result[out++] = (char16_t)(0xD800 + (code >> 10));
      result[out++] = (char16_t)(0xDC00 + (code & 0x3FF));
    } else {
      result[out++] = (char16_t)code;
    }
  }
  if (result != NULL) result[out] = 0;
  return result;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: convert FILE\n");
    return 2;
  }
  char16_t* path = toUtf16(argv[1]);
  if (path == NULL) {
    fprintf(stderr, "convert: the path is not UTF-8\n");
    return 2;
  }
  bool converted = Vorlane_ParseVfk(path, 1, false);
  free(path);
  printf("%s\n", converted ? "true" : "false");
  return converted ? 0 : 1;
}
