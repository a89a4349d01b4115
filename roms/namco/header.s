; iNES header of wrenfold_namco: mapper 19 (Namco 106), 16 KB PRG ROM, 8 KB CHR ROM. The board
; has its own name-table memory; the mirroring bit is left as vertical.
.segment "HEADER"
    .byte "NES", $1A
    .byte 1                 ; PRG ROM in 16 KB units
    .byte 1                 ; CHR ROM in 8 KB units
    .byte %00110001         ; mapper 19 low nibble (3), vertical mirroring
    .byte %00010000         ; mapper 19 high nibble (1)
    .res 8, 0
