; The seven exhibits, one per switchable PRG bank: each names its bank, the CHR banks of its
; art set, its row pattern and its colours. The fixed bank reads them at $8000 once the bank is
; switched in, so what shows on screen proves which bank is mapped.
.include "nes.inc"
.include "runtime.inc"
.include "gallery.inc"

; The exhibit's eight palettes: its art's three colours, then the title bar, the caption and the
; wren, which every exhibit shows alike.
.macro EXHIBIT_PALETTES art1, art2, art3
    .byte $0F, art1, art2, art3      ; art
    .byte $0F, $02, $12, $30        ; title bar
    .byte $0F, $0F, $10, $30        ; caption
    .byte $0F, $0F, $0F, $0F
    .byte $0F, $0F, $17, $37        ; wren
    .byte $0F, $0F, $0F, $0F
    .byte $0F, $0F, $0F, $0F
    .byte $0F, $0F, $0F, $0F
.endmacro

.segment "BANK0"
    .byte 0                          ; CHR bank of the art's first frame
    .addr exhibit0_text
    .byte T_ART, T_ART + 1, T_ART, T_ART + 1, T_ART, T_ART + 1, T_ART, T_ART + 1
    .byte T_ART + 2, T_ART + 3, T_ART + 2, T_ART + 3, T_ART + 2, T_ART + 3, T_ART + 2, T_ART + 3
    EXHIBIT_PALETTES $06, $16, $10
exhibit0_text:
    TEXT_AT 1, 3, "PRG BANK 0   BRICK WALL"
    TEXT_AT 27, 3, "CHR BANKS 0 AND 1"
    .byte 0

.segment "BANK1"
    .byte 2                          ; CHR bank of the art's first frame
    .addr exhibit1_text
    .byte T_ART, T_ART + 1, T_ART + 3, T_ART + 2, T_ART, T_ART + 3, T_ART + 1, T_ART + 2
    .byte T_ART + 2, T_ART + 3, T_ART, T_ART + 1, T_ART + 3, T_ART, T_ART + 2, T_ART + 1
    EXHIBIT_PALETTES $01, $11, $31
exhibit1_text:
    TEXT_AT 1, 3, "PRG BANK 1   SEA WAVES"
    TEXT_AT 27, 3, "CHR BANKS 2 AND 3"
    .byte 0

.segment "BANK2"
    .byte 4                          ; CHR bank of the art's first frame
    .addr exhibit2_text
    .byte T_ART, T_ART + 3, T_ART + 1, T_ART + 2, T_ART + 3, T_ART, T_ART + 2, T_ART + 1
    .byte T_ART + 1, T_ART + 2, T_ART + 3, T_ART, T_ART + 2, T_ART + 1, T_ART, T_ART + 3
    EXHIBIT_PALETTES $0F, $00, $30
exhibit2_text:
    TEXT_AT 1, 3, "PRG BANK 2   NIGHT SKY"
    TEXT_AT 27, 3, "CHR BANKS 4 AND 5"
    .byte 0

.segment "BANK3"
    .byte 0                          ; CHR bank of the art's first frame
    .addr exhibit3_text
    .byte T_ART, T_ART + 1, T_ART, T_ART + 1, T_ART, T_ART + 1, T_ART, T_ART + 1
    .byte T_ART + 2, T_ART + 3, T_ART + 2, T_ART + 3, T_ART + 2, T_ART + 3, T_ART + 2, T_ART + 3
    EXHIBIT_PALETTES $07, $17, $27
exhibit3_text:
    TEXT_AT 1, 3, "PRG BANK 3   RED BRICKS"
    TEXT_AT 27, 3, "CHR BANKS 0 AND 1"
    .byte 0

.segment "BANK4"
    .byte 2                          ; CHR bank of the art's first frame
    .addr exhibit4_text
    .byte T_ART, T_ART + 1, T_ART + 3, T_ART + 2, T_ART, T_ART + 3, T_ART + 1, T_ART + 2
    .byte T_ART + 2, T_ART + 3, T_ART, T_ART + 1, T_ART + 3, T_ART, T_ART + 2, T_ART + 1
    EXHIBIT_PALETTES $09, $19, $2A
exhibit4_text:
    TEXT_AT 1, 3, "PRG BANK 4   GREEN SEA"
    TEXT_AT 27, 3, "CHR BANKS 2 AND 3"
    .byte 0

.segment "BANK5"
    .byte 4                          ; CHR bank of the art's first frame
    .addr exhibit5_text
    .byte T_ART, T_ART + 3, T_ART + 1, T_ART + 2, T_ART + 3, T_ART, T_ART + 2, T_ART + 1
    .byte T_ART + 1, T_ART + 2, T_ART + 3, T_ART, T_ART + 2, T_ART + 1, T_ART, T_ART + 3
    EXHIBIT_PALETTES $03, $13, $37
exhibit5_text:
    TEXT_AT 1, 3, "PRG BANK 5   DUSK STARS"
    TEXT_AT 27, 3, "CHR BANKS 4 AND 5"
    .byte 0

.segment "BANK6"
    .byte 0                          ; CHR bank of the art's first frame
    .addr exhibit6_text
    .byte T_ART, T_ART + 1, T_ART, T_ART + 1, T_ART, T_ART + 1, T_ART, T_ART + 1
    .byte T_ART + 2, T_ART + 3, T_ART + 2, T_ART + 3, T_ART + 2, T_ART + 3, T_ART + 2, T_ART + 3
    EXHIBIT_PALETTES $18, $28, $38
exhibit6_text:
    TEXT_AT 1, 3, "PRG BANK 6   LAST ROOM"
    TEXT_AT 27, 3, "CHR BANKS 0 AND 1"
    .byte 0
