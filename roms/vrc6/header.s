; iNES header of wrenfold_vrc6: mapper 24 (Konami VRC6), 32 KB PRG ROM, 8 KB CHR ROM, vertical
; mirroring.
.segment "HEADER"
    .byte "NES", $1A
    .byte 2                 ; PRG ROM in 16 KB units
    .byte 1                 ; CHR ROM in 8 KB units
    .byte %10000001         ; mapper 24 low nibble (8), vertical mirroring
    .byte %00010000         ; mapper 24 high nibble (1)
    .res 8, 0
