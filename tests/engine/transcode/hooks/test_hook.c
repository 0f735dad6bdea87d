/* A frame hook library for the engine's tests.  Arguments after the name:
 *   "fill N"  Process sets every luma sample to N
 *   "add N"   Process adds N to every luma sample
 *   "fail"    Configure fails
 * Built three times: with every entry point, without Process (NO_PROCESS) and without
 * Configure (NO_CONFIGURE, which always adds 1).  The counters are read by the tests. */
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
    uint8_t* data[4];
    int linesize[4];
} Picture;

typedef struct {
    int fill; /* -1: add */
    int add;
} Context;

static int configured, processed, released;

int TestHookConfigured(void) { return configured; }
int TestHookProcessed(void) { return processed; }
int TestHookReleased(void) { return released; }

#ifndef NO_CONFIGURE
int Configure(void** ctxp, int argc, char* argv[])
{
    Context* c = calloc(1, sizeof(Context));
    c->fill = -1;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "fail")) {
            free(c);
            return -1;
        }
        if (!strcmp(argv[i], "fill") && i + 1 < argc) c->fill = atoi(argv[++i]);
        if (!strcmp(argv[i], "add") && i + 1 < argc) c->add = atoi(argv[++i]);
    }
    *ctxp = c;
    ++configured;
    return 0;
}
#endif

#ifndef NO_PROCESS
void Process(void* ctx, Picture* pict, int pix_fmt, int width, int height, int64_t pts)
{
    (void)pix_fmt;
    (void)pts;
    const Context* c = ctx;
    int fill = c ? c->fill : -1, add = c ? c->add : 1;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pict->data[0] + (ptrdiff_t)y * pict->linesize[0];
        for (int x = 0; x < width; ++x) row[x] = (uint8_t)(fill >= 0 ? fill : row[x] + add);
    }
    ++processed;
}
#endif

void Release(void* ctx)
{
    free(ctx);
    ++released;
}
