; iNES header of wrenfold_gallery: mapper 1 (MMC1), 128 KB PRG ROM, 32 KB CHR ROM, vertical
; mirroring (the program sets it through the control register as well).
.segment "HEADER"
    .byte "NES", $1A
    .byte 8                 ; PRG ROM in 16 KB units
    .byte 4                 ; CHR ROM in 8 KB units
    .byte %00010001         ; mapper 1 low nibble, vertical mirroring
    .byte %00000000         ; mapper high nibble
    .res 8, 0
