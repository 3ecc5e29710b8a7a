#!/bin/sh
# Makes the decoding tests' pictures with ImageMagick, an encoder independent of ours, and the
# pixels ImageMagick reads back from each as raw RGBA (*.rgba). Run in this folder.
# ImageMagick stores TGA rows top row first while marking them bottom-up, and reads them back
# the same way; -auto-orient gives the picture as the marking says, which is how TGA is read.
set -eu

convert rose: -resize '12x8!' -type Palette -compress none BMP3:rose-8bit.bmp
convert rose: -resize '10x6!' -type Palette -compress none BMP3:rose-8bit-width10.bmp
convert rose: -resize '5x4!' -compress none BMP3:rose-24bit-width5.bmp
convert rose: -resize '8x4!' -compress none rose-24bit.tga
convert rose: -resize '5x3!' -alpha set -channel A -fx 'i/4' +channel -compress none rose-32bit.tga
convert rose: -resize '16x12!' -quality 90 -sampling-factor 1x1 rose.jpg
convert rose: -resize '8x8!' -colorspace Gray -quality 90 grey.jpg

for picture in rose-8bit.bmp rose-8bit-width10.bmp rose-24bit-width5.bmp rose-24bit.tga \
    rose-32bit.tga rose.jpg grey.jpg; do
    convert "$picture" -auto-orient -depth 8 "rgba:${picture%.*}.rgba"
done
