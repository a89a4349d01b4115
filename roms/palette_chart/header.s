; iNES header of wrenfold_palette_chart: mapper 0 (NROM-128), 16 KB PRG ROM, 8 KB CHR ROM,
; horizontal mirroring.
.segment "HEADER"
    .byte "NES", $1A
    .byte 1                 ; PRG ROM in 16 KB units
    .byte 1                 ; CHR ROM in 8 KB units
    .byte %00000000         ; mapper 0, horizontal mirroring
    .byte %00000000
    .res 8, 0
