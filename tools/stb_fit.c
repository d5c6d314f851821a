/* The benchmark's peer: decode with stb_image, fit into N x N with
 * stb_image_resize. stb_fit N picture */
#include <stdio.h>
#include <stdlib.h>

#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: stb_fit N picture\n");
        return 2;
    }
    const int box = atoi(argv[1]);
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load(argv[2], &width, &height, &channels, 4);
    if (pixels == NULL) {
        fprintf(stderr, "stb_fit: %s\n", stbi_failure_reason());
        return 1;
    }
    const double fx = (double)box / width, fy = (double)box / height;
    const double f = fx < fy ? fx : fy;
    const int w = (int)(width * f + 0.5), h = (int)(height * f + 0.5);
    unsigned char* out = malloc((size_t)w * h * 4);
    stbir_resize_uint8(pixels, width, height, 0, out, w, h, 0, 4);
    printf("%s: %d x %d\n", argv[2], w, h);
    free(out);
    stbi_image_free(pixels);
    return 0;
}
