; iNES header of wrenfold_split: mapper 4 (MMC3), 32 KB PRG ROM, 16 KB CHR ROM, horizontal
; mirroring (the program sets it through $A000 as well).
.segment "HEADER"
    .byte "NES", $1A
    .byte 2                 ; PRG ROM in 16 KB units
    .byte 2                 ; CHR ROM in 8 KB units
    .byte %01000000         ; mapper 4 low nibble, horizontal mirroring
    .byte %00000000         ; mapper high nibble
    .res 8, 0
